#pragma once
// Files handed over by drag and drop or on the clipboard: both come as a CF_HDROP list. The main
// window registers a FileDropTarget with OLE, which takes a drop of files with the copy effect and
// hands their paths on; Ctrl+V reads the same list from the clipboard.

#include <windows.h>
// After windows.h, which they need.
#include <oleidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "common/com_object.h"
#include "common/unique_handle.h"

namespace ferryl {

// The paths a CF_HDROP list holds, in its order.
std::vector<std::wstring> PathsOfDrop(HDROP drop);

// The files on the clipboard; none when it holds no file list or another program has it open.
std::vector<std::wstring> FilesOnClipboard(HWND owner);

class FileDropTarget final : public ComObject<IDropTarget> {
  public:
    using Dropped = std::function<void(std::vector<std::wstring>)>;

    // `dropped` is given the paths of each drop; `window` is the one registered, over which the
    // shell draws the dragged items' picture where it can.
    FileDropTarget(HWND window, Dropped dropped);

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

  private:
    bool AnswersTo(REFIID riid) const noexcept override { return riid == IID_IDropTarget; }
    // Copy when files come, the window is enabled and the source allows it; nothing else is taken.
    DWORD Effect(DWORD allowed) const noexcept;

    HWND m_window;
    Dropped m_dropped;
    bool m_files = false;
    UniqueCom<IDropTargetHelper> m_picture;
};

}  // namespace ferryl
