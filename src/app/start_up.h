#pragma once
// Start-up: decides whether this process is the first instance; a later one hands its command line
// to the running one, the first one settles its process-wide state (StartUp()), the settings file
// and the Send To shortcut, then loads its receiving window.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "app/instance_window.h"
#include "app/start_up_state.h"
#include "common/module_path.h"

namespace ferryl {

inline constexpr wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr wchar_t kEudoraCommandLineKey[] = L"Software\\Qualcomm\\Eudora\\CommandLine";
inline constexpr wchar_t kShortcutName[] = L"Mail Recipient Via Command Line.lnk";
inline constexpr wchar_t kShortcutDescription[] = L"Mail Recipient Via Command Line";

// The process's command line after the program's own path.
std::wstring ProcessArguments();

// The first instance's preparation (temporary, Send To and desktop folders, the shortcut, the
// Eudora detection, the settings file, ClParameters) for a program living in programFolder.
// Every step that fails is skipped.
void PrepareFirstInstance(const std::wstring& programFolder, const std::wstring& programPath) noexcept;

// Mail program detection from Eudora's registered command line "current" value.
void DetectEudora(const std::wstring& registeredCommandLine) noexcept;

// The program's entry. A later instance hands commandLine over and returns with nothing loaded;
// the first instance prepares itself and loads the receiving window, which takes commandLine in.
// A later instance that cannot reach the running one for a few seconds goes on as the first one
// (taking the mutex when it has gone), so that its files are listed all the same. One that is
// going to list files first loads the delay-loaded libraries, and stops with a message when one
// is missing; and it hands its files to a receiver without the mutex that runs meanwhile.
void Main(InstanceF& instanceF, std::wstring_view commandLine) noexcept;

// The message loop of the first instance: runs until the receiving window is unloaded, however
// that happens.
void RunWhileLoaded(InstanceF& instanceF) noexcept;
// The same, with a hook that may take a message before it is translated and dispatched (the main
// window's shortcuts and dialog keys); it returns true for a message it handled.
void RunWhileLoaded(InstanceF& instanceF, const std::function<bool(MSG&)>& preTranslate) noexcept;

}  // namespace ferryl
