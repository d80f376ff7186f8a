#include "mainwindow/file_drop.h"

#include <utility>

#include "common/continue_on_error.h"

namespace ferryl {

namespace {

FORMATETC FileListFormat() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

}  // namespace

std::vector<std::wstring> PathsOfDrop(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    paths.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
        if (path.empty())
            continue;
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1)));
        paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<std::wstring> FilesOnClipboard(HWND owner) {
    std::vector<std::wstring> paths;
    if (!::IsClipboardFormatAvailable(CF_HDROP) || !::OpenClipboard(owner))
        return paths;
    // The clipboard keeps what it hands out.
    if (HANDLE drop = ::GetClipboardData(CF_HDROP))
        ContinueOnError(L"FilesOnClipboard", [&] { paths = PathsOfDrop(static_cast<HDROP>(drop)); });
    ::CloseClipboard();
    return paths;
}

FileDropTarget::FileDropTarget(HWND window, Dropped dropped) : m_window(window), m_dropped(std::move(dropped)) {
    // The shell's picture of what is dragged, over this window too; older systems go without.
    ::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                       reinterpret_cast<void**>(m_picture.put()));
}

DWORD FileDropTarget::Effect(DWORD allowed) const noexcept {
    // Not under a modal box of the window's, which has disabled it.
    const bool taking = m_files && ::IsWindowEnabled(m_window);
    return taking && (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL at, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    FORMATETC format = FileListFormat();
    m_files = data && data->QueryGetData(&format) == S_OK;
    *effect = Effect(*effect);
    if (m_picture) {
        POINT point{at.x, at.y};
        m_picture.get()->DragEnter(m_window, data, &point, *effect);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::DragOver(DWORD, POINTL at, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    *effect = Effect(*effect);
    if (m_picture) {
        POINT point{at.x, at.y};
        m_picture.get()->DragOver(&point, *effect);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::DragLeave() {
    m_files = false;
    if (m_picture)
        m_picture.get()->DragLeave();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) {
    if (!effect || !data)
        return E_INVALIDARG;
    // What DragEnter found in the data decides, as it showed while the files were dragged.
    *effect = Effect(*effect);
    if (m_picture) {
        POINT point{at.x, at.y};
        m_picture.get()->Drop(data, &point, *effect);
    }
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (*effect == DROPEFFECT_NONE || FAILED(data->GetData(&format, &medium))) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    std::vector<std::wstring> paths;
    ContinueOnError(L"FileDropTarget.Drop", [&] { paths = PathsOfDrop(static_cast<HDROP>(medium.hGlobal)); });
    ::ReleaseStgMedium(&medium);
    ContinueOnError(L"FileDropTarget.Dropped", [&] { m_dropped(std::move(paths)); });
    m_files = false;
    return S_OK;
}

}  // namespace ferryl
