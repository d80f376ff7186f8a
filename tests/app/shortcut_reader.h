#pragma once
// Reads back what a .lnk file points at, through the same shell link object that wrote it.

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <string>

namespace ferryl::test {

struct ShortcutInfo {
    std::wstring target;
    std::wstring description;
    std::wstring icon;
    bool loaded = false;
};

inline ShortcutInfo ReadShortcut(const std::wstring& linkPath) {
    ShortcutInfo info;
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link))))
        return info;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
            wchar_t buffer[MAX_PATH * 2] = {};
            int iconIndex = 0;
            if (SUCCEEDED(link->GetPath(buffer, MAX_PATH * 2, nullptr, SLGP_RAWPATH)))
                info.target = buffer;
            buffer[0] = 0;
            if (SUCCEEDED(link->GetDescription(buffer, MAX_PATH * 2)))
                info.description = buffer;
            buffer[0] = 0;
            if (SUCCEEDED(link->GetIconLocation(buffer, MAX_PATH * 2, &iconIndex)))
                info.icon = buffer;
            info.loaded = true;
        }
        file->Release();
    }
    link->Release();
    return info;
}

}  // namespace ferryl::test
