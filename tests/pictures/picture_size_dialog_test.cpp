// The picture size dialog from the keyboard, as a screen reader names it, with the totals and the
// unreadable files it shows, and the setting it keeps.

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <atomic>
#include <functional>
#include <thread>

#include "mainwindow/picture_size_resource.h"
#include "send/picture_size_dialog.h"
#include "settings/ini.h"
#include "settings/picture_size_setting.h"
#include "support/accessibility.h"
#include "support/messages.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::FocusOf;

constexpr wchar_t kCaption[] = L"Picture Size";

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

std::wstring ByteText(uint64_t bytes) {
    wchar_t text[32]{};
    ::StrFormatByteSizeW(static_cast<LONGLONG>(bytes), text, 32);
    return text;
}

// Runs the steps on another thread once the dialog shows, then presses Cancel on a dialog they
// left open, so that a failing test does not hang.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> steps)
        : m_thread([this, steps = std::move(steps)] {
              const HWND dialog = test::WaitForDialog(kCaption);
              if (!dialog)
                  return;
              m_found = true;
              FocusOf(dialog);
              steps(dialog);
              if (::IsWindow(dialog))
                  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          }) {}
    ~DialogDriver() { m_thread.join(); }
    bool Found() const { return m_found; }

  private:
    std::atomic<bool> m_found{false};
    std::thread m_thread;
};

class PictureSizeDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(WriteDefaultIni(ini)); }

    std::optional<PictureSize> Ask(std::function<void(HWND)> steps) {
        DialogDriver driver(std::move(steps));
        const std::optional<PictureSize> chosen = AskPictureSize(nullptr, pictures, ini);
        EXPECT_TRUE(driver.Found());
        return chosen;
    }

    test::TempFolder folder;
    const std::wstring ini = folder / L"Ferryl.ini";
    std::vector<PictureFacts> pictures = {
        {L"C:\\Photos\\IMG_0412.jpg", 3'000'000, true, true, {4000, 3000}, Orientation::Normal},
        {L"C:\\Photos\\IMG_0413.jpg", 2'000'000, true, true, {3000, 4000}, Orientation::Normal},
        {L"C:\\Photos\\fake.jpg", 40, false, true, {}, Orientation::Normal},
    };
};

TEST_F(PictureSizeDialogTest, TheKeyboardChoosesTheEstimateFollowsAndTheChoiceIsKept) {
    std::wstring focusedFirst, now, original, large, medium;
    const std::optional<PictureSize> chosen = Ask([&](HWND dialog) {
        focusedFirst = TextOf(dialog, ::GetDlgCtrlID(FocusOf(dialog)));
        now = TextOf(dialog, IDC_PICTURE_NOW);
        original = TextOf(dialog, IDC_PICTURE_ESTIMATE);
        Press(dialog, WM_KEYDOWN, VK_UP, IDC_PICTURE_LARGE);  // the arrows move among the sizes
        large = TextOf(dialog, IDC_PICTURE_ESTIMATE);
        Press(dialog, WM_SYSCHAR, L'm', IDC_PICTURE_MEDIUM);  // Alt+M
        medium = TextOf(dialog, IDC_PICTURE_ESTIMATE);
        Press(dialog, WM_KEYDOWN, VK_RETURN);
    });
    EXPECT_EQ(focusedFirst, L"&Original size") << "nothing kept yet: the original size";
    EXPECT_EQ(now, L"Pictures now: 3 pictures, " + ByteText(5'000'040));
    EXPECT_EQ(original, L"Estimated size: " + ByteText(5'000'040));
    EXPECT_EQ(large, L"Estimated size: " + ByteText(EstimatedBytes(pictures, PictureSize::Large)));
    EXPECT_EQ(medium, L"Estimated size: " + ByteText(EstimatedBytes(pictures, PictureSize::Medium)));
    EXPECT_EQ(chosen, PictureSize::Medium);
    EXPECT_EQ(ReadIni(L"Settings", L"PictureSize", ini), L"3");

    // The next time the dialog starts there; Cancel (Esc) keeps nothing.
    std::wstring focusedNext;
    EXPECT_EQ(Ask([&](HWND dialog) {
                  focusedNext = TextOf(dialog, ::GetDlgCtrlID(FocusOf(dialog)));
                  Press(dialog, WM_KEYDOWN, VK_DOWN, IDC_PICTURE_LARGE);
                  Press(dialog, WM_KEYDOWN, VK_ESCAPE);
              }),
              std::nullopt);
    EXPECT_EQ(focusedNext, L"&Medium: 1024 \u00D7 768");
    EXPECT_EQ(ReadIni(L"Settings", L"PictureSize", ini), L"3");

    // Going back to the original size is kept too.
    EXPECT_EQ(Ask([&](HWND dialog) {
                  Press(dialog, WM_SYSCHAR, L'o', IDC_PICTURE_ORIGINAL);
                  Press(dialog, WM_KEYDOWN, VK_RETURN);
              }),
              PictureSize::Original);
    EXPECT_EQ(ReadIni(L"Settings", L"PictureSize", ini), L"0");
}

TEST_F(PictureSizeDialogTest, TheOriginalSizeChosenLeavesANewSettingsFileAsItWas) {
    EXPECT_EQ(Ask([&](HWND dialog) { Press(dialog, WM_KEYDOWN, VK_RETURN); }), PictureSize::Original);
    EXPECT_EQ(test::ReadFileBytes(ini), DefaultIniText());
}

TEST_F(PictureSizeDialogTest, UnreadableFilesAreNamedAndEveryControlHasAName) {
    std::vector<std::wstring> listed, names;
    Ask([&](HWND dialog) {
        const HWND list = ::GetDlgItem(dialog, IDC_PICTURE_UNREADABLE);
        const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[MAX_PATH]{};
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            listed.push_back(text);
        }
        for (int id : {IDC_PICTURE_MEDIUM, IDC_PICTURE_ORIGINAL, IDC_PICTURE_NOW, IDC_PICTURE_ESTIMATE,
                       IDC_PICTURE_UNREADABLE}) {
            const test::AccessibleRef object = test::ClientAccessible(::GetDlgItem(dialog, id));
            names.push_back(object ? test::Name(object.get(), CHILDID_SELF) : L"(no object)");
        }
    });
    EXPECT_EQ(listed, std::vector<std::wstring>{L"fake.jpg"});
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[0], L"Medium: 1024 \u00D7 768");
    EXPECT_EQ(names[1], L"Original size");
    EXPECT_EQ(names[2].rfind(L"Pictures now: ", 0), 0u) << names[2];
    EXPECT_EQ(names[3].rfind(L"Estimated size: ", 0), 0u) << names[3];
    EXPECT_EQ(names[4], L"These files cannot be read as pictures and are sent as they are:");

    // Without unreadable files the list is not shown and the buttons move up over it.
    pictures.pop_back();
    bool listShown = true;
    RECT withoutList{};
    Ask([&](HWND dialog) {
        listShown = ::IsWindowVisible(::GetDlgItem(dialog, IDC_PICTURE_UNREADABLE));
        RECT ok{}, estimate{};
        ::GetWindowRect(::GetDlgItem(dialog, IDOK), &ok);
        ::GetWindowRect(::GetDlgItem(dialog, IDC_PICTURE_ESTIMATE), &estimate);
        RECT client{};
        ::GetClientRect(dialog, &client);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&estimate), 2);
        withoutList = {estimate.bottom, ok.top, ok.bottom, client.bottom};
    });
    EXPECT_FALSE(listShown);
    EXPECT_GT(withoutList.top, withoutList.left) << "OK below the estimate";
    EXPECT_LT(withoutList.top - withoutList.left, 40) << "and close to it";
    EXPECT_LT(withoutList.bottom - withoutList.right, 40) << "the dialog ends soon after the buttons";
    EXPECT_GT(withoutList.bottom, withoutList.right);
}

}  // namespace
}  // namespace ferryl
