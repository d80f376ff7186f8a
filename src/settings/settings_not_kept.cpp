#include "settings/settings_not_kept.h"

#include <windows.h>

#include <atomic>

#include "common/system_error_text.h"
#include "mainwindow/form_steps.h"

namespace ferryl {

void TellSettingsNotKept(const std::wstring& file, unsigned long error) {
    static std::atomic<bool> told{false};
    if (told.exchange(true))
        return;
    const std::wstring text = L"The settings cannot be kept: the settings file \"" + file +
                              L"\" cannot be written.\n\n" +
                              (error ? SystemErrorText(error) : std::wstring(L"The system gives no reason.")) +
                              L"\n\nWhat you change (the mail program, the Copy To folder, the window's place) holds "
                              L"only until Ferryl Handler ends. Make the file writable, or run Ferryl Handler from a "
                              L"folder you may write to.";
    ::MessageBoxW(::GetActiveWindow(), text.c_str(), kWarningTitle, MB_OK | MB_ICONINFORMATION);
}

}  // namespace ferryl
