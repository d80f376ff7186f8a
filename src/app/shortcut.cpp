#include "app/shortcut.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <iterator>

namespace ferryl {

namespace {

// Releases a COM interface pointer at the end of the scope.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_pointer)
            m_pointer->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    void** put() { return reinterpret_cast<void**>(&m_pointer); }

  private:
    T* m_pointer = nullptr;
};

// Initialises COM for the call when the thread has not done so itself.
class ComScope {
  public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT m_result;
};

}  // namespace

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, const std::wstring& description) {
    ComScope com;
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put())))
        return false;
    if (FAILED(link->SetPath(target.c_str())) || FAILED(link->SetDescription(description.c_str())) ||
        FAILED(link->SetIconLocation(target.c_str(), 0)))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put())))
        return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

std::wstring ShortcutTarget(const std::wstring& linkPath) {
    ComScope com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put())) || FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return {};
    wchar_t target[MAX_PATH * 2] = {};
    if (link->GetPath(target, static_cast<int>(std::size(target)), nullptr, 0) != S_OK)
        return {};
    return target;
}

}  // namespace ferryl
