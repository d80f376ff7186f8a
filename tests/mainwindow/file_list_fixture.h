#pragma once
// The main window with a list of files, and the user's keys, clicks and menus as the loop delivers them.

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/intake.h"
#include "common/twips.h"
#include "core/grid_navigation.h"
#include "support/main_window_test.h"
#include "support/messages.h"

namespace ferryl::test {

// The clipboard's text, or "(closed)" when it cannot be opened.
inline std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return L"(closed)";
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

// Puts text (CF_UNICODETEXT), or a list of files as Explorer's Copy does (CF_HDROP), on the clipboard.
inline void SetClipboard(UINT format, const void* bytes, size_t size) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(memory), bytes, size);
    ::GlobalUnlock(memory);
    ::SetClipboardData(format, memory);
    ::CloseClipboard();
}
inline void SetClipboardText(const std::wstring& text) {
    SetClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}
inline void SetClipboardFiles(const std::vector<std::wstring>& paths) {
    std::vector<wchar_t> list;
    for (const std::wstring& path : paths)
        list.insert(list.end(), path.c_str(), path.c_str() + path.size() + 1);
    list.push_back(L'\0');
    DROPFILES head{};
    head.pFiles = sizeof head;
    head.fWide = TRUE;
    std::vector<BYTE> bytes(sizeof head + list.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), &head, sizeof head);
    std::memcpy(bytes.data() + sizeof head, list.data(), list.size() * sizeof(wchar_t));
    SetClipboard(CF_HDROP, bytes.data(), bytes.size());
}

// A popup menu as it showed: each item's text and whether it could be chosen.
using MenuItems = std::vector<std::pair<std::wstring, bool>>;

inline std::wstring WindowText(HWND window) {
    wchar_t text[1024]{};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

class FileListTest : public MainWindowTest {
  protected:
    // `count` files "file 101.txt", "file 102.txt"... listed in a main window of 600 by 500 pixels.
    std::vector<std::wstring> LoadFiles(int count) {
        EXPECT_TRUE(form.Load());
        ::ShowWindow(form.Hwnd(), SW_SHOWNORMAL);
        ::SetWindowPos(form.Hwnd(), nullptr, 20, 20, 600, 500, SWP_NOZORDER);
        std::vector<std::wstring> paths;
        std::wstring commandLine;
        for (int i = 1; i <= count; ++i) {
            paths.push_back(folder.WriteFile(L"file " + std::to_wstring(100 + i) + L".txt", "x"));
            commandLine += L"\"" + paths.back() + L"\" ";
        }
        AddFilesToList(commandLine, form);
        PumpMessages();
        EXPECT_EQ(form.Rows(), count);
        return paths;
    }

    // A key as the loop delivers it (the window's own translation first); F10 and Alt+key as system keys.
    void Press(WPARAM key, short modifiers = 0) {
        SetModifiers(modifiers);
        const bool system = (modifiers & kAltMask) || key == VK_F10;
        MSG msg{form.Lista()->hwnd(),
                static_cast<UINT>(system ? WM_SYSKEYDOWN : WM_KEYDOWN),
                key,
                static_cast<LPARAM>(1 | ((modifiers & kAltMask) ? 1 << 29 : 0)),
                ::GetTickCount(),
                {}};
        if (!form.PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        SetModifiers(0);
    }

    // A press and release of the left (or right) button on row `row`, with Shift or Ctrl.
    void Click(long row, short modifiers = 0, bool right = false) {
        MoskGrid& list = *form.Lista();
        long left = 0, top = 0, width = 0, height = 0;
        list.CellBoundary(row, 1, left, top, width, height);
        const LPARAM at = MAKELPARAM(TwipsToPixels(left, list.Dpi()) + 4,
                                     TwipsToPixels(top, list.Dpi()) + TwipsToPixels(height, list.Dpi()) / 2);
        const WPARAM keys = ((modifiers & kShiftMask) ? MK_SHIFT : 0) | ((modifiers & kCtrlMask) ? MK_CONTROL : 0);
        SetModifiers(modifiers);
        ::SendMessageW(list.hwnd(), right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys | (right ? MK_RBUTTON : MK_LBUTTON),
                       at);
        ::SendMessageW(list.hwnd(), right ? WM_RBUTTONUP : WM_LBUTTONUP, keys, at);
        SetModifiers(0);
    }

    // The popup menu that `open` shows; the item with access key `choice` is chosen, or it is closed.
    template <typename Open>
    MenuItems FromMenu(Open open, wchar_t choice = 0) {
        MenuItems seen;
        {
            DialogDriver menu(
                nullptr,
                [&](HWND popup) {
                    HMENU items = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
                    for (UINT i = 0; i < static_cast<UINT>(::GetMenuItemCount(items)); ++i) {
                        wchar_t text[128]{};
                        ::GetMenuStringW(items, i, text, 128, MF_BYPOSITION);
                        if (text[0])
                            seen.emplace_back(text,
                                              !(::GetMenuState(items, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)));
                    }
                    ::PostMessageW(popup, choice ? WM_CHAR : WM_KEYDOWN, choice ? choice : VK_ESCAPE, 0);
                },
                L"#32768");
            open();
            EXPECT_TRUE(menu.Found()) << "no menu showed";
        }
        PumpMessages();
        return seen;
    }

    std::vector<long> Selected() { return form.Lista()->RowsSelected(); }

  private:
    static void SetModifiers(short modifiers) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_SHIFT] = (modifiers & kShiftMask) ? 0x80 : 0;
        state[VK_CONTROL] = (modifiers & kCtrlMask) ? 0x80 : 0;
        state[VK_MENU] = (modifiers & kAltMask) ? 0x80 : 0;
        ::SetKeyboardState(state);
    }
};

}  // namespace ferryl::test
