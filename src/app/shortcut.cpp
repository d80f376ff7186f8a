#include "app/shortcut.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

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

}  // namespace ferryl
