#include "app/shortcut.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <iterator>

#include "common/unique_handle.h"

namespace ferryl {

namespace {

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
    UniqueCom<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.put()))))
        return false;
    if (FAILED(link.get()->SetPath(target.c_str())) || FAILED(link.get()->SetDescription(description.c_str())) ||
        FAILED(link.get()->SetIconLocation(target.c_str(), 0)))
        return false;
    UniqueCom<IPersistFile> file;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))))
        return false;
    return SUCCEEDED(file.get()->Save(linkPath.c_str(), TRUE));
}

std::wstring ShortcutTarget(const std::wstring& linkPath) {
    ComScope com;
    UniqueCom<IShellLinkW> link;
    UniqueCom<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.put()))) ||
        FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) ||
        FAILED(file.get()->Load(linkPath.c_str(), STGM_READ)))
        return {};
    wchar_t target[MAX_PATH * 2] = {};
    if (link.get()->GetPath(target, static_cast<int>(std::size(target)), nullptr, 0) != S_OK)
        return {};
    return target;
}

}  // namespace ferryl
