#include "settings/ini.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

TEST(Ini, DefaultFileIsElevenAnsiLinesWithAnEmptyFifth) {
    TempFolder folder;
    std::wstring file = folder / L"Ferryl.ini";
    ASSERT_TRUE(WriteDefaultIni(file));
    EXPECT_EQ(ReadFileBytes(file),
              "[Settings]\r\nMailProgram=\r\nCLParameters=\r\nAttachmentsFolder=\r\n\r\n"
              "[Window Position]\r\nWindowState=0\r\nWindowTop=0\r\nWindowLeft=0\r\n"
              "WindowHeight=3010\r\nWindowWidth=6010\r\n");
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowHeight", file), L"3010");
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", file), L"");
}

TEST(Ini, DefaultFileNeverReplacesAnExistingOne) {
    TempFolder folder;
    std::wstring file = folder.WriteFile(L"Ferryl.ini", "[Settings]\r\nMailProgram=C:\\mail.exe\r\n");
    EXPECT_FALSE(WriteDefaultIni(file));
    EXPECT_EQ(ReadFileBytes(file), "[Settings]\r\nMailProgram=C:\\mail.exe\r\n");
    EXPECT_FALSE(WriteDefaultIni(folder / L"missing folder\\Ferryl.ini"));
}

TEST(Ini, MissingFileSectionOrKeyReadsEmpty) {
    TempFolder folder;
    std::wstring file = folder.WriteFile(L"Ferryl.ini", "[Settings]\r\nMailProgram=x\r\n");
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", file), L"x");
    EXPECT_EQ(ReadIni(L"settings", L"mailprogram", file), L"x");  // the profile functions ignore case
    EXPECT_EQ(ReadIni(L"Settings", L"CLParameters", file), L"");
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowTop", file), L"");
    EXPECT_EQ(ReadIni(L"Settings", L"MailProgram", folder / L"none.ini"), L"");
}

TEST(Ini, LongValuesAreCutTo255Characters) {
    TempFolder folder;
    std::string value(300, 'v');
    std::wstring file = folder.WriteFile(L"Ferryl.ini", "[Settings]\r\nCLParameters=" + value + "\r\n");
    EXPECT_EQ(ReadIni(L"Settings", L"CLParameters", file), std::wstring(255, L'v'));
}

TEST(Ini, WritesKeepTheFileAnsiAndItsOtherLines) {
    TempFolder folder;
    std::wstring file = folder / L"Ferryl.ini";
    ASSERT_TRUE(WriteDefaultIni(file));
    WriteIni(L"Window Position", L"WindowTop", L"-120", file);
    WriteIni(L"Settings", L"AttachmentsFolder", L"C:\\Anh\u00e4nge\\", file);
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowTop", file), L"-120");
    EXPECT_EQ(ReadIni(L"Settings", L"AttachmentsFolder", file), L"C:\\Anh\u00e4nge\\");
    std::string bytes = ReadFileBytes(file);
    EXPECT_NE(bytes.find("WindowTop=-120\r\n"), std::string::npos);
    if (::GetACP() == 1252) {
        EXPECT_NE(bytes.find("AttachmentsFolder=C:\\Anh\xe4nge\\\r\n"), std::string::npos);
    }
    EXPECT_NE(bytes.find("WindowWidth=6010\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("CLParameters=\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find('\0'), std::string::npos);  // never UTF-16
}

TEST(Ini, WritingCreatesAMissingFileAndSection) {
    TempFolder folder;
    std::wstring file = folder / L"new.ini";
    WriteIni(L"Window Position", L"WindowState", L"2", file);
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowState", file), L"2");
    std::string bytes = ReadFileBytes(file);
    EXPECT_NE(bytes.find("[Window Position]"), std::string::npos);
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

}  // namespace
}  // namespace ferryl
