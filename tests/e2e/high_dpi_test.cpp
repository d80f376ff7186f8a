// The real Ferryl.exe started at 192 DPI with a saved place off the screen and a size larger than
// the screen: the window and "&Send Now" lie inside the work area, saved again in twips.

#include <gtest/gtest.h>

#include <string>

#include "common/twips.h"
#include "e2e/ferryl_session.h"

namespace ferryl {
namespace {

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class HighDpiTest : public test::FerrylSession {};

TEST_F(HighDpiTest, AtTwiceTheDpiTheWindowAndSendNowLieInsideTheWorkArea) {
    // What Wine takes for the system's DPI when a program starts: the REG_DWORD 192, whose four
    // bytes a one-character text with its terminator makes.
    test::RegistryValueScope dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels",
                                 std::wstring(1, static_cast<wchar_t>(192)), REG_DWORD);
    // 2667 by 1600 pixels at 192 DPI, left of and below the screen.
    for (const auto& [key, value] : {std::pair{L"WindowWidth", L"20000"}, std::pair{L"WindowHeight", L"12000"},
                                     std::pair{L"WindowLeft", L"-30000"}, std::pair{L"WindowTop", L"90000"}})
        WriteIni(L"Window Position", key, value, ini);
    test::ChildProcess ferryl;
    ASSERT_TRUE(StartFerryl(ferryl, test::Quoted(files.WriteFile(L"a.txt"))));
    RECT work{}, window{}, sendNow{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    ::GetWindowRect(test::MainWindow(), &window);
    ::GetWindowRect(test::PanelChild(L"&Send Now"), &sendNow);
    EXPECT_TRUE(Inside(window, work)) << window.left << "," << window.top << " " << window.right << ","
                                      << window.bottom;
    EXPECT_TRUE(Inside(sendNow, work));
    EXPECT_EQ(window.right - window.left, work.right - work.left) << "as wide as the screen allows";

    ::PostMessageW(test::MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(ferryl.WaitForExit());
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowWidth", ini),
              std::to_wstring(PixelsToTwips(work.right - work.left, 192)));
    EXPECT_EQ(ReadIni(L"Window Position", L"WindowLeft", ini), std::to_wstring(PixelsToTwips(window.left, 192)));
}

}  // namespace
}  // namespace ferryl
