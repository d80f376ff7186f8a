#pragma once
// What the main window's source files share: the check box read, the wait cursor, the window's
// private messages, and the names of the settings.

#include <windows.h>

#include <string>

namespace ferryl {

inline constexpr wchar_t kSettingsSection[] = L"Settings";
inline constexpr wchar_t kWarningTitle[] = L"Warning - Ferryl Handler";
inline constexpr wchar_t kProgramTitle[] = L"Ferryl Handler";

// The main window's private messages.
// Posted to let the list paint again once a batch of rows is in.
inline constexpr UINT kRedrawMessage = WM_APP + 1;
// Posted by the Simple MAPI call's thread when the call has returned. Any process may post it too:
// the window asks the call itself whether it is done, and its result.
inline constexpr UINT kMapiDoneMessage = WM_APP + 2;
// Posted to tell the user of files a full list left out: the intake may run inside a message that
// a later start sent and waits on.
inline constexpr UINT kListFullMessage = WM_APP + 3;
// Posted by Send Now's job when its work has ended; the window asks the job itself.
inline constexpr UINT kSendJobDoneMessage = WM_APP + 10;
// Posted by a drop: the files are taken in once the program they came from is no longer waiting.
inline constexpr UINT kDropMessage = WM_APP + 20;
// Posted when rows came or went: the status line counts them once the batch is in.
inline constexpr UINT kStatusMessage = WM_APP + 21;
// The main window's timer that registers it as a drop target once it is up and idle.
inline constexpr UINT_PTR kDropTargetTimer = 1;

// The folder buttons' names: their tool tips, and what screen readers say (the buttons show only
// a picture).
inline constexpr wchar_t kTemporaryFolderName[] = L"Temporary Folder";
inline constexpr wchar_t kDesktopFolderName[] = L"Desktop Folder";
inline constexpr wchar_t kAttachmentsFolderName[] = L"Attachments Folder";
inline constexpr wchar_t kCustomFolderName[] = L"Custom Folder";

inline bool IsChecked(HWND checkBox) {
    return ::SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The hourglass while a command works, the arrow again when it is done however it ends, or as
// soon as the command asks the user something.
class WaitCursor {
  public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void Restore() noexcept {
        if (m_restored)
            return;
        m_restored = true;
        ::SetCursor(m_previous ? m_previous : ::LoadCursorW(nullptr, IDC_ARROW));
    }

  private:
    HCURSOR m_previous;
    bool m_restored = false;
};

}  // namespace ferryl
