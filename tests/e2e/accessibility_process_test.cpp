// A screen reader in another process: the real Ferryl.exe with three files listed, read and driven
// through Active Accessibility from this test, which hears its WinEvents.

#include <gtest/gtest.h>

#include <string>

#include "e2e/ferryl_session.h"
#include "support/accessibility.h"

namespace ferryl {
namespace {

using test::AccessibleRef;
using test::Child;
using test::ChildProcess;
using test::PumpUntil;
using test::WinEventRecorder;

class AccessibilityProcessTest : public test::FerrylSession {
  protected:
    void SetUp() override {
        FerrylSession::SetUp();
        a = files.WriteFile(L"a.txt", std::string(2048, 'a'));
        b = files.WriteFile(L"b b.txt", "b");
        c = files.WriteFile(L"c.txt", "");
        ASSERT_TRUE(test::SetModifiedTime(a, 2024, 3, 5, 14, 7));
        ASSERT_TRUE(test::SetModifiedTime(b, 2024, 3, 6, 9, 30));
        ASSERT_TRUE(test::SetModifiedTime(c, 2024, 3, 7, 0, 0));
        ASSERT_TRUE(ferryl.Start(exe, a + L" \"" + b + L"\" " + c));
        ASSERT_TRUE(ferryl.WaitForInputIdle());
        // The whole command line is in once the three rows can be counted.
        ASSERT_TRUE(PumpUntil([&] {
            list = test::FileList();
            if (list && !access)
                access = test::ClientAccessible(list);
            LONG count = 0;
            return access && SUCCEEDED(access->get_accChildCount(&count)) && count == 3;
        }));
    }
    void TearDown() override {
        access.Reset();
        FerrylSession::TearDown();
        ferryl.WaitForExit();
    }

    std::wstring a, b, c;
    ChildProcess ferryl;
    AccessibleRef access;
    HWND list = nullptr;
};

TEST_F(AccessibilityProcessTest, TheListItsRowsThePathBoxAndTheStatusLineAreReadFromAnotherProcess) {
    EXPECT_EQ(test::Role(access.get(), CHILDID_SELF), ROLE_SYSTEM_LIST);
    EXPECT_EQ(test::Name(access.get(), CHILDID_SELF), L"Files");
    test::ExpectSpokenRow(test::Name(access.get(), 1), a, 3, L"2024", L"2,048");
    test::ExpectSpokenRow(test::Name(access.get(), 3), c, 3, L"2024", L"0");
    EXPECT_TRUE(test::State(access.get(), 1) & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(test::State(access.get(), 2) & STATE_SYSTEM_SELECTED);
    // The path box is named by the label its check box shows; the line under the list by its text.
    HWND panel = ::FindWindowExW(test::MainWindow(), nullptr, L"FerrylPozadinaP", nullptr);
    AccessibleRef pathBox = test::ClientAccessible(::FindWindowExW(panel, nullptr, L"Edit", nullptr));
    ASSERT_TRUE(pathBox);
    EXPECT_EQ(test::Name(pathBox.get(), CHILDID_SELF), L"Copy To");
    AccessibleRef status = test::ClientAccessible(::FindWindowExW(test::MainWindow(), nullptr, L"Static", nullptr));
    ASSERT_TRUE(status);
    EXPECT_EQ(test::Name(status.get(), CHILDID_SELF), L"3 files, 2.00 KB");

    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    WinEventRecorder events(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, processId);
    ASSERT_TRUE(events.Hooked());
    ASSERT_EQ(access->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(2)), S_OK);
    EXPECT_EQ(test::Selection(access.get()), std::vector<long>{2});
    EXPECT_TRUE(test::State(access.get(), 2) & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(test::State(access.get(), 1) & STATE_SYSTEM_SELECTED);
    EXPECT_TRUE(PumpUntil([&] { return events.Count(EVENT_OBJECT_SELECTION, list, 2) == 1; }));

    // The hit test at the middle of row 3 finds row 3.
    LONG x = 0, y = 0, width = 0, height = 0;
    ASSERT_EQ(access->accLocation(&x, &y, &width, &height, Child(3)), S_OK);
    VARIANT hit;
    ASSERT_EQ(access->accHitTest(x + width / 2, y + height / 2, &hit), S_OK);
    EXPECT_EQ(test::ChildId(hit), 3);
}

}  // namespace
}  // namespace ferryl
