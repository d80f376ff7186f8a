#pragma once
// What the end-to-end tests share: a copy of Ferryl.exe and its Ferryl.ini in a folder of their own,
// recording stand-in mail programs, registry values put back afterwards, and the windows pressed.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/module_path.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "mail/mail_clients.h"
#include "settings/funkcije.h"
#include "settings/ini.h"
#include "support/child_process.h"
#include "support/mail_client_rules.h"
#include "support/messages.h"
#include "support/mime_reader.h"
#include "support/registry_scope.h"
#include "support/stand_ins.h"
#include "support/temp_folder.h"

namespace ferryl::test {

inline constexpr wchar_t kWarningTitle[] = L"Warning - Ferryl Handler";

inline HWND MainWindow() {
    return ::FindWindowW(L"FerrylF", L"Send To Mail Recipient Via Command Line");
}

inline HWND PanelChild(const wchar_t* text) {
    HWND panel = ::FindWindowExW(MainWindow(), nullptr, L"FerrylPozadinaP", nullptr);
    return panel ? ::FindWindowExW(panel, nullptr, L"Button", text) : nullptr;
}

inline HWND FileList() {
    return ::FindWindowExW(MainWindow(), nullptr, L"FerrylMoskGrid", nullptr);
}

// Sets a check box as a click does (BM_CLICK from outside needs a focus an unmanaged X server may
// not give).
inline void Tick(const wchar_t* text, bool checked = true) {
    HWND box = PanelChild(text);
    ::PostMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ::PostMessageW(::GetParent(box), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(box), BN_CLICKED),
                   reinterpret_cast<LPARAM>(box));
}

inline void PressSendNow() {
    ::PostMessageW(PanelChild(L"&Send Now"), BM_CLICK, 0, 0);
}

// True once the window is there with "&Send Now" enabled: a file listed, no work running.
inline bool SendNowEnabled() {
    return PumpUntil([] { return MainWindow() && ::IsWindowEnabled(PanelChild(L"&Send Now")); });
}

// True when a child of the window has text containing every part.
inline bool ChildHasText(HWND parent, const std::vector<std::wstring>& parts) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text(4096, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(child, text.data(), 4096)));
        bool all = true;
        for (const std::wstring& part : parts)
            all = all && text.find(part) != std::wstring::npos;
        if (all)
            return true;
    }
    return false;
}

// Waits for a message box of the title whose text holds every part, and closes it with the button.
inline bool AnswerBox(const wchar_t* title, const std::vector<std::wstring>& parts, int button = IDOK) {
    HWND box = nullptr;
    const bool found = PumpUntil(
        [&] {
            box = ::FindWindowW(L"#32770", title);
            return box && ChildHasText(box, parts);
        },
        10000);
    if (box)
        ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return found && PumpUntil([&] { return !::IsWindow(box); });
}

// Ends in "\".
inline std::wstring SystemTempFolder() {
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    return temp;
}

// The names that match the pattern (a path with wildcards).
inline std::set<std::wstring> Matching(const std::wstring& pattern) {
    std::set<std::wstring> found;
    WIN32_FIND_DATAW entry{};
    UniqueFind search(::FindFirstFileW(pattern.c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = ::FindNextFileW(search.get(), &entry))
        found.insert(entry.cFileName);
    return found;
}

inline std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

inline std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> argv(arguments, arguments + (arguments ? count : 0));
    ::LocalFree(arguments);
    return argv;
}

// One attachment as the mail program reads it; no path for a part of a draft message.
struct Attachment {
    std::wstring path, name;
    std::string bytes;
    bool operator==(const Attachment&) const = default;
};

class FerrylSession : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(MainWindow()) << "a main window of an earlier run is still open";
        ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"\\Ferryl.exe").c_str(), exe.c_str(), FALSE));
        programFolder.MakeFolder(L"Mail Program");
        ASSERT_TRUE(WriteDefaultIni(ini));
        InstallMailProgram(L"mail.exe");
    }
    void TearDown() override {
        if (HWND main = MainWindow())
            ::PostMessageW(main, WM_CLOSE, 0, 0);
    }

    // The recorder under a mail program's file name, set as MailProgram.
    void InstallMailProgram(const wchar_t* name) {
        const std::wstring path = programFolder / (std::wstring(L"Mail Program\\") + name);
        if (!FileExists(path))  // a recorder of an earlier send may still be ending, holding its file
            PlaceRecorder(path);
        WriteIni(L"Settings", L"MailProgram", path, ini);
    }
    static void PlaceRecorder(const std::wstring& path) {
        EXPECT_TRUE(::CopyFileW((ProgramFolder() + L"\\e2e_mail_recorder.exe").c_str(), path.c_str(), FALSE));
    }
    // A stand-in provider registered as a mail client of the machine, and as the only default (Wine's
    // mapi32 takes the machine's) when asked. The ANSI-only one has no MAPISendMailW.
    void InstallMapiProvider(const std::wstring& clientName,
                             bool asDefault,
                             bool ansiOnly = false,
                             const wchar_t* valueName = L"DLLPath") {
        programFolder.MakeFolder(L"Mapi");
        const std::wstring built =
            ProgramFolder() + (ansiOnly ? L"\\e2e_mapi_provider_ansi.dll" : L"\\e2e_mapi_provider.dll");
        EXPECT_TRUE(::CopyFileW(built.c_str(), mapi.Dll().c_str(), FALSE));
        Keep(HKEY_LOCAL_MACHINE, std::wstring(kMailClientsKey) + L"\\" + clientName, valueName, mapi.Dll());
        if (asDefault) {
            Keep(HKEY_LOCAL_MACHINE, kMailClientsKey, L"", clientName);
            Keep(HKEY_CURRENT_USER, kMailClientsKey, L"", std::nullopt);
        }
    }

    void Keep(HKEY root,
              const std::wstring& key,
              const std::wstring& name,
              const std::optional<std::wstring>& value,
              DWORD type = REG_SZ) {
        registry.push_back(std::make_unique<RegistryValueScope>(root, key, name, value, type));
    }

    // True once "&Send Now" shows enabled and the program has taken its command lines in whole.
    static bool UntilListedAndIdle(const ChildProcess& ferryl) {
        return PumpUntil(
                   [] {
                       HWND send = PanelChild(L"&Send Now");
                       return send && ::IsWindowVisible(MainWindow()) && ::IsWindowEnabled(send);
                   },
                   20000) &&
               ferryl.WaitForInputIdle();
    }

    bool StartFerryl(ChildProcess& ferryl, const std::wstring& arguments) {
        return ferryl.Start(exe, arguments) && UntilListedAndIdle(ferryl);
    }

    // The record once the program has ended and the record is written, or "(no record)".
    std::wstring RecordAfterExit(ChildProcess& ferryl, const std::wstring& path) {
        std::wstring text;
        return ferryl.WaitForExit([&] { return !(text = ReadRecord(path)).empty(); }, 20000) ? text : L"(no record)";
    }
    std::wstring RecordAfterExit(ChildProcess& ferryl) { return RecordAfterExit(ferryl, record); }

    // Presses "&Send Now"; this send's record once the program has ended.
    std::wstring SendAndRecord(ChildProcess& ferryl, const std::wstring& path) {
        ::DeleteFileW(path.c_str());
        PressSendNow();
        return RecordAfterExit(ferryl, path);
    }
    std::wstring SendAndRecord(ChildProcess& ferryl) { return SendAndRecord(ferryl, record); }

    // What the stand-in Simple MAPI client got.
    std::vector<Attachment> ReceivedByMapi() const {
        std::vector<Attachment> got;
        for (size_t i = 0; i < mapi.SentPaths().size(); ++i)
            got.push_back({mapi.SentPaths()[i], mapi.SentNames()[i], ReadFileBytes(mapi.SentPaths()[i])});
        return got;
    }
    // What the program of this name reads from the command line its stand-in recorded, by its own
    // rules. The new Outlook's draft is read as MIME, and removed; unsent, or Outlook would not send it.
    std::vector<Attachment> Received(const std::wstring& program, const std::wstring& recordPath) const {
        const std::wstring folder = recordPath.substr(0, recordPath.rfind(L'\\') + 1);
        const std::wstring startFolder = ReadRecord(folder + L"start_folder.txt");
        const std::vector<std::wstring> argv = SplitCommandLine(ReadRecord(recordPath));
        std::vector<std::wstring> paths(argv.begin() + (argv.empty() ? 0 : 1), argv.end());
        std::vector<Attachment> got;
        if (program == L"olk.exe") {
            const std::optional<MimeMessage> draft = ReadMime(argv.empty() ? "" : ReadFileBytes(argv.back()));
            ::DeleteFileW(argv.empty() ? L"" : argv.back().c_str());
            if (!draft || !draft->headers.count("x-unsent") || draft->headers.at("x-unsent").value != "1")
                return {{L"", L"(no unsent draft)", ""}};
            for (const MimePart& part : draft->parts) {
                const auto disposition = part.headers.find("content-disposition");
                if (disposition != part.headers.end() && disposition->second.parameters.count("filename"))
                    got.push_back({L"", WideFromUtf8(disposition->second.parameters.at("filename")).value_or(L"?"),
                                   part.Decoded()});
            }
            return got;
        }
        if (program == L"thunderbird.exe") {
            paths.clear();
            for (const std::wstring& url : ComposeAttachmentUrls(argv).value_or(std::vector<std::wstring>{}))
                paths.push_back(GeckoFilePath(url).value_or(L"(not a file URL) " + url));
        } else if (program == L"claws-mail.exe") {
            paths.clear();
            for (const std::wstring& argument : AttachArguments(argv))
                paths.push_back(ClawsAttachment(argument, startFolder, [](const std::wstring& path) {
                    const DWORD attributes = ::GetFileAttributesW(path.c_str());
                    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
                }));
        } else if (program == L"sylpheed.exe") {
            // Its arguments come from the command line the system hands an ANSI program.
            paths.clear();
            const std::wstring ansi = FromAnsi(ReadFileBytes(folder + L"command_line_ansi.txt"));
            for (const std::wstring& argument : AttachArguments(SplitCommandLine(ansi)))
                paths.push_back(SylpheedAttachment(argument, startFolder));
        } else if (program == L"outlook.exe") {
            paths = {OutlookAttachment(argv).value_or(L"(no /a)")};
        }
        for (const std::wstring& path : paths)
            got.push_back({path, FileNameOf(LongPathName(path)), ReadFileBytes(path)});
        return got;
    }

    // The command line the stand-in "mail.exe" gets for these files, in this order.
    std::wstring Sent(std::initializer_list<std::wstring> paths) const {
        std::wstring commandLine = ShortPathName(mail);
        for (const std::wstring& path : paths)
            commandLine += L" " + ShortPathName(path);
        return commandLine;
    }

    // Declared first, put back last; newest first, so that a value set twice ends as it was.
    struct RegistryScopes : std::vector<std::unique_ptr<RegistryValueScope>> {
        ~RegistryScopes() {
            while (!empty())
                pop_back();
        }
    } registry;
    TempFolder programFolder, files;
    const std::wstring exe = programFolder / L"Ferryl.exe";
    const std::wstring ini = programFolder / L"Ferryl.ini";
    const std::wstring mail = programFolder / L"Mail Program\\mail.exe";
    // What every stand-in mail program records, whatever its name.
    const std::wstring record = programFolder / L"Mail Program\\command_line.txt";
    const StandInProvider mapi{programFolder / L"Mapi"};
};

}  // namespace ferryl::test
