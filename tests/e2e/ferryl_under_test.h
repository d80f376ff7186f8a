#pragma once
// The real Ferryl.exe as the end-to-end tests run it: a copy in a folder of its own with its own
// Ferryl.ini, the stand-in mail program (which records its command line) set as its mail program,
// and the ways to drive its main window from this process.

#include <gtest/gtest.h>

#include <string>

#include "support/child_process.h"
#include "app/start_up.h"
#include "settings/ini.h"
#include "support/messages.h"
#include "support/temp_folder.h"

namespace ferryl::test {

inline HWND FerrylMainWindow() {
    return ::FindWindowW(L"FerrylF", L"Send To Mail Recipient Via Command Line");
}

inline HWND FerrylPanelButton(const wchar_t* text) {
    HWND panel = ::FindWindowExW(FerrylMainWindow(), nullptr, L"FerrylPozadinaP", nullptr);
    return panel ? ::FindWindowExW(panel, nullptr, L"Button", text) : nullptr;
}

class FerrylUnderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(FerrylMainWindow()) << "a main window of an earlier run is still open";
        const std::wstring bin = ProgramFolder();
        ASSERT_TRUE(::CopyFileW((bin + L"\\Ferryl.exe").c_str(), exe.c_str(), FALSE));
        programFolder.MakeFolder(L"Mail Program");
        ASSERT_TRUE(::CopyFileW((bin + L"\\e2e_mail_recorder.exe").c_str(), mail.c_str(), FALSE));
        ASSERT_TRUE(WriteDefaultIni(ini));
        WriteIni(L"Settings", L"MailProgram", mail, ini);
    }
    void TearDown() override {
        if (HWND main = FerrylMainWindow())
            ::PostMessageW(main, WM_CLOSE, 0, 0);
    }

    // True once the main window shows with "&Send Now" enabled (a file is listed) and the program
    // is idle for input, its command lines taken in whole.
    static bool UntilListedAndIdle(const ChildProcess& ferryl) {
        return PumpUntil(
                   [] {
                       HWND send = FerrylPanelButton(L"&Send Now");
                       return send && ::IsWindowVisible(FerrylMainWindow()) && ::IsWindowEnabled(send);
                   },
                   20000) &&
               ferryl.WaitForInputIdle();
    }

    // The recorded command line of the mail program once ferryl has ended, or "(no record)".
    std::wstring RecordAfterExit(ChildProcess& ferryl) {
        std::string bytes;
        if (!ferryl.WaitForExit([&] { return !(bytes = ReadFileBytes(record)).empty(); }, 20000))
            return L"(no record)";
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }

    TempFolder programFolder, files;
    const std::wstring exe = programFolder / L"Ferryl.exe";
    const std::wstring ini = programFolder / L"Ferryl.ini";
    const std::wstring mail = programFolder / L"Mail Program\\mail.exe";
    const std::wstring record = programFolder / L"Mail Program\\command_line.txt";
};

}  // namespace ferryl::test
