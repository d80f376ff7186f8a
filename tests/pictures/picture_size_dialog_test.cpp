// The picture size dialog from the keyboard, as a screen reader names it, with the totals and the
// unreadable files it shows, and the setting it keeps.

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <functional>
#include <thread>

#include "mainwindow/picture_size_resource.h"
#include "send/picture_size_dialog.h"
#include "settings/ini.h"
#include "support/accessibility.h"
#include "support/messages.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::FocusOf;

// Posts a key to the focused control, then waits until the dialog's thread has checked the size
// that it is to choose (answered only once that thread is done with the key).
void Press(HWND dialog, UINT message, WPARAM key, int chosen = 0) {
    ::PostMessageW(FocusOf(dialog), message, key, message == WM_SYSCHAR ? (1 << 29) | 1 : 1);
    if (chosen) {
        EXPECT_TRUE(test::PumpUntil([&] { return ::IsDlgButtonChecked(dialog, chosen) == BST_CHECKED; }));
    }
}

std::wstring TextOf(HWND dialog, int id) {
    wchar_t text[256]{};
    ::GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

std::wstring Estimate(uint64_t bytes) {
    wchar_t text[32]{};
    ::StrFormatByteSizeW(static_cast<LONGLONG>(bytes), text, 32);
    return L"Estimated size: " + std::wstring(text);
}

class PictureSizeDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(WriteDefaultIni(ini)); }

    // Asks, with the steps run on another thread once the dialog shows; Cancel closes a dialog they
    // left open, so that a failing test does not hang.
    std::optional<PictureSize> Ask(const std::function<void(HWND)>& steps) {
        std::thread driver([&] {
            if (const HWND dialog = test::WaitForDialog(L"Picture Size")) {
                FocusOf(dialog);
                steps(dialog);
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
        const std::optional<PictureSize> chosen = AskPictureSize(nullptr, pictures, ini);
        driver.join();
        return chosen;
    }
    std::wstring Kept() const { return ReadIni(L"Settings", L"PictureSize", ini); }

    test::TempFolder folder;
    const std::wstring ini = folder / L"Ferryl.ini";
    std::vector<PictureFacts> pictures = {
        {L"C:\\Photos\\IMG_0412.jpg", 3'000'000, true, true, {4000, 3000}, Orientation::Normal},
        {L"C:\\Photos\\IMG_0413.jpg", 2'000'000, true, true, {3000, 4000}, Orientation::Normal},
        {L"C:\\Photos\\fake.jpg", 40, false, true, {}, Orientation::Normal},
    };
};

TEST_F(PictureSizeDialogTest, TheKeyboardChoosesTheEstimateFollowsAndTheChoiceIsKept) {
    std::wstring focused, now, estimate;
    EXPECT_EQ(Ask([&](HWND dialog) {
                  focused = TextOf(dialog, ::GetDlgCtrlID(FocusOf(dialog)));
                  now = TextOf(dialog, IDC_PICTURE_NOW);
                  estimate = TextOf(dialog, IDC_PICTURE_ESTIMATE);
                  Press(dialog, WM_KEYDOWN, VK_RETURN);
              }),
              PictureSize::Original);
    EXPECT_EQ(focused, L"&Original size") << "nothing kept yet";
    EXPECT_EQ(now.rfind(L"Pictures now: 3 pictures, ", 0), 0u) << now;
    EXPECT_EQ(estimate, Estimate(5'000'040));
    EXPECT_EQ(test::ReadFileBytes(ini), DefaultIniText()) << "the original size leaves a new file as it was";

    std::wstring large, medium;
    EXPECT_EQ(Ask([&](HWND dialog) {
                  Press(dialog, WM_KEYDOWN, VK_UP, IDC_PICTURE_LARGE);  // the arrows move among the sizes
                  large = TextOf(dialog, IDC_PICTURE_ESTIMATE);
                  Press(dialog, WM_SYSCHAR, L'm', IDC_PICTURE_MEDIUM);  // Alt+M
                  medium = TextOf(dialog, IDC_PICTURE_ESTIMATE);
                  Press(dialog, WM_KEYDOWN, VK_RETURN);
              }),
              PictureSize::Medium);
    EXPECT_EQ(large, Estimate(EstimatedBytes(pictures, PictureSize::Large)));
    EXPECT_EQ(medium, Estimate(EstimatedBytes(pictures, PictureSize::Medium)));
    EXPECT_EQ(Kept(), L"3");

    // The next time the dialog starts there; Esc keeps nothing; the original size chosen is kept.
    EXPECT_EQ(Ask([&](HWND dialog) {
                  focused = TextOf(dialog, ::GetDlgCtrlID(FocusOf(dialog)));
                  Press(dialog, WM_KEYDOWN, VK_DOWN, IDC_PICTURE_LARGE);
                  Press(dialog, WM_KEYDOWN, VK_ESCAPE);
              }),
              std::nullopt);
    EXPECT_EQ(focused, L"&Medium: 1024 \u00D7 768");
    EXPECT_EQ(Kept(), L"3");
    EXPECT_EQ(Ask([&](HWND dialog) {
                  Press(dialog, WM_SYSCHAR, L'o', IDC_PICTURE_ORIGINAL);
                  Press(dialog, WM_KEYDOWN, VK_RETURN);
              }),
              PictureSize::Original);
    EXPECT_EQ(Kept(), L"0");
}

TEST_F(PictureSizeDialogTest, UnreadableFilesAreNamedAndEveryControlHasAName) {
    std::vector<std::wstring> names;
    Ask([&](HWND dialog) {
        for (int id : {IDC_PICTURE_MEDIUM, IDC_PICTURE_ORIGINAL, IDC_PICTURE_NOW, IDC_PICTURE_ESTIMATE,
                       IDC_PICTURE_UNREADABLE}) {
            const test::AccessibleRef object = test::ClientAccessible(::GetDlgItem(dialog, id));
            names.push_back(object ? test::Name(object.get(), CHILDID_SELF) : L"(no object)");
        }
        wchar_t first[MAX_PATH]{};
        ::SendDlgItemMessageW(dialog, IDC_PICTURE_UNREADABLE, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
        names.push_back(first);
    });
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0], L"Medium: 1024 \u00D7 768");
    EXPECT_EQ(names[1], L"Original size");
    EXPECT_EQ(names[2].rfind(L"Pictures now: ", 0), 0u) << names[2];
    EXPECT_EQ(names[3].rfind(L"Estimated size: ", 0), 0u) << names[3];
    EXPECT_EQ(names[4], L"These files cannot be read as pictures and are sent as they are:");
    EXPECT_EQ(names[5], L"fake.jpg");

    // Without unreadable files the list is not shown, and OK moves up below the estimate.
    pictures.pop_back();
    bool listShown = true;
    RECT ok{}, estimate{}, outer{};
    Ask([&](HWND dialog) {
        listShown = ::IsWindowVisible(::GetDlgItem(dialog, IDC_PICTURE_UNREADABLE));
        ::GetWindowRect(::GetDlgItem(dialog, IDOK), &ok);
        ::GetWindowRect(::GetDlgItem(dialog, IDC_PICTURE_ESTIMATE), &estimate);
        ::GetWindowRect(dialog, &outer);
    });
    EXPECT_FALSE(listShown);
    EXPECT_GT(ok.top, estimate.bottom);
    EXPECT_LT(ok.top - estimate.bottom, 40);
    EXPECT_LT(outer.bottom - ok.bottom, 50) << "and the dialog ends soon after it";
}

}  // namespace
}  // namespace ferryl
