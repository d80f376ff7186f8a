#pragma once
// What the main window's source files share: the continue-on-error step, the control reads, the
// wait cursor, and the names of the settings and the list's columns.

#include <windows.h>

#include <string>

namespace ferryl {

inline constexpr wchar_t kSettingsSection[] = L"Settings";
inline constexpr wchar_t kWarningTitle[] = L"Warning - Ferryl Handler";
inline constexpr wchar_t kProgramTitle[] = L"Ferryl Handler";

// Posted by the Simple MAPI call's thread when the call has returned; wParam is its result.
// (WM_APP + 1 lets the list paint again after a batch of rows.)
inline constexpr UINT kMapiDoneMessage = WM_APP + 2;

// The folder buttons' names: their tool tips, and what screen readers say (the buttons show only
// a picture).
inline constexpr wchar_t kTemporaryFolderName[] = L"Temporary Folder";
inline constexpr wchar_t kDesktopFolderName[] = L"Desktop Folder";
inline constexpr wchar_t kAttachmentsFolderName[] = L"Attachments Folder";
inline constexpr wchar_t kCustomFolderName[] = L"Custom Folder";

inline constexpr long kColumnName = 1;
inline constexpr long kColumnPath = 4;

// Continue-on-error: a failing step is skipped and the next one runs.
template <typename F>
void Try(F&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

inline std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

inline bool IsChecked(HWND checkBox) {
    return ::SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The hourglass while a command works, the arrow again when it is done however it ends.
class WaitCursor {
  public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_previous ? m_previous : ::LoadCursorW(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR m_previous;
};

}  // namespace ferryl
