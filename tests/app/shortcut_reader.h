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
    IPersistFile* file = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
        wchar_t target[MAX_PATH * 2] = {}, description[MAX_PATH * 2] = {}, icon[MAX_PATH * 2] = {};
        int iconIndex = 0;
        link->GetPath(target, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
        link->GetDescription(description, MAX_PATH * 2);
        link->GetIconLocation(icon, MAX_PATH * 2, &iconIndex);
        info = {target, description, icon, true};
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    return info;
}

}  // namespace ferryl::test
