// The main window as a screen reader reads it, in this process: the file list through
// AccessibleObjectFromWindow with three files listed, its events, and the named folder buttons.

#include <gtest/gtest.h>

#include "app/intake.h"
#include "support/accessibility.h"
#include "support/main_window_test.h"
#include "support/messages.h"

namespace ferryl {
namespace {

using test::AccessibleRef;
using test::Child;
using test::PumpMessages;
using test::WinEventRecorder;

class ListaAccessibilityTest : public test::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        a = files.WriteFile(L"a.txt", std::string(1234, 'a'));
        b = files.WriteFile(L"with blank.doc", "");
        c = files.WriteFile(L"c.bin", std::string(1234567, 'c'));
        ASSERT_TRUE(test::SetModifiedTime(a, 2024, 3, 5, 14, 7));
        ASSERT_TRUE(test::SetModifiedTime(b, 2023, 12, 31, 23, 59));
        ASSERT_TRUE(test::SetModifiedTime(c, 2001, 1, 2, 3, 4));
        AddFilesToList(a + L" \"" + b + L"\" " + c, form);
        PumpMessages();
        ASSERT_EQ(form.Rows(), 3);
        grid = form.Lista()->hwnd();
        ::SetFocus(grid);
        access = test::ClientAccessible(grid);
        ASSERT_TRUE(access);
    }
    void TearDown() override {
        access.Reset();
        MainWindowTest::TearDown();
    }

    test::TempFolder files;
    std::wstring a, b, c;
    HWND grid = nullptr;
    AccessibleRef access;
};

TEST_F(ListaAccessibilityTest, TheListIsNamedAndItsRowsAreSpokenInFull) {
    LONG count = 0;
    ASSERT_EQ(access->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(test::Role(access.get(), CHILDID_SELF), ROLE_SYSTEM_LIST);
    EXPECT_EQ(test::Name(access.get(), CHILDID_SELF), L"Files");
    EXPECT_EQ(test::Role(access.get(), 2), ROLE_SYSTEM_LISTITEM);
    test::ExpectSpokenRow(test::Name(access.get(), 1), a, 3, L"2024", L"1,234");
    test::ExpectSpokenRow(test::Name(access.get(), 2), b, 12, L"2023", L"0");
    test::ExpectSpokenRow(test::Name(access.get(), 3), c, 1, L"2001", L"1,234,567");
    EXPECT_EQ(test::Description(access.get(), 3), L"Name, Date, Size (bytes), Full Path");
    EXPECT_EQ(test::DefaultAction(access.get(), 1), L"Double Click");

    IDispatch* child = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(access->get_accChild(Child(2), &child), S_FALSE) << "rows are simple elements";
    EXPECT_EQ(child, nullptr);
    BSTR name = nullptr;
    EXPECT_EQ(access->get_accName(Child(4), &name), E_INVALIDARG);
}

TEST_F(ListaAccessibilityTest, TheSelectedRowIsSelectedAndFocused) {
    ASSERT_EQ(::GetFocus(), grid);
    const long first = test::State(access.get(), 1);
    EXPECT_EQ(first & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE),
              STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE);
    EXPECT_FALSE(first & STATE_SYSTEM_OFFSCREEN);
    const long second = test::State(access.get(), 2);
    EXPECT_FALSE(second & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED));
    EXPECT_TRUE(second & STATE_SYSTEM_SELECTABLE);
    EXPECT_EQ(test::Selection(access.get()), std::vector<long>{1});
    VARIANT focus;
    ASSERT_EQ(access->get_accFocus(&focus), S_OK);
    EXPECT_EQ(test::ChildId(focus), 1);
}

TEST_F(ListaAccessibilityTest, AccSelectMovesTheSelectedRowAndRaisesFocusAndSelection) {
    WinEventRecorder events(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, ::GetCurrentProcessId());
    ASSERT_TRUE(events.Hooked());
    ASSERT_EQ(access->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(2)), S_OK);
    EXPECT_EQ(form.Lista()->SelectedRow(), 2);
    EXPECT_TRUE(test::State(access.get(), 2) & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(test::State(access.get(), 1) & STATE_SYSTEM_SELECTED);
    EXPECT_EQ(test::Selection(access.get()), std::vector<long>{2});
    EXPECT_EQ(events.Count(EVENT_OBJECT_FOCUS, grid, 2), 1u);
    EXPECT_EQ(events.Count(EVENT_OBJECT_SELECTION, grid, 2), 1u);
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid, CHILDID_SELF), 0u);

    // The keyboard moves the row as well.
    ::SendMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(form.Lista()->SelectedRow(), 3);
    EXPECT_EQ(events.Count(EVENT_OBJECT_SELECTION, grid, 3), 1u);

    // Several rows may be selected: a row is added to the selection, but not taken and added at once.
    EXPECT_EQ(access->accSelect(SELFLAG_ADDSELECTION, Child(1)), S_OK);
    EXPECT_EQ(test::Selection(access.get()), (std::vector<long>{1, 3}));
    EXPECT_TRUE(test::State(access.get(), CHILDID_SELF) & STATE_SYSTEM_MULTISELECTABLE);
    EXPECT_EQ(access->accSelect(SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION, Child(1)), E_INVALIDARG);
    EXPECT_EQ(access->accSelect(SELFLAG_TAKESELECTION, Child(9)), E_INVALIDARG);
}

TEST_F(ListaAccessibilityTest, UnderADisabledWindowRowsAreUnavailableAndTakeNoAction) {
    // The window is disabled while a modal box or a mail client's compose window is up; a screen
    // reader must not open a file or move the selection under it.
    ::EnableWindow(form.Hwnd(), FALSE);
    EXPECT_EQ(access->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(2)), E_FAIL);
    EXPECT_EQ(access->accSelect(SELFLAG_TAKEFOCUS, Child(CHILDID_SELF)), E_FAIL);
    EXPECT_EQ(access->accDoDefaultAction(Child(1)), E_FAIL);
    EXPECT_EQ(form.Lista()->SelectedRow(), 1);
    EXPECT_TRUE(test::State(access.get(), 2) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(test::State(access.get(), CHILDID_SELF) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(test::State(access.get(), 1) & STATE_SYSTEM_SELECTED) << "the list still shows its selection";

    ::EnableWindow(form.Hwnd(), TRUE);
    EXPECT_FALSE(test::State(access.get(), 2) & STATE_SYSTEM_UNAVAILABLE);
    ASSERT_EQ(access->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(2)), S_OK);
    EXPECT_EQ(form.Lista()->SelectedRow(), 2);
}

TEST_F(ListaAccessibilityTest, ABatchOfFilesIsOneReorderAndRemovingIsAnother) {
    WinEventRecorder events(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, ::GetCurrentProcessId());
    const std::wstring d = files.WriteFile(L"d.txt"), e = files.WriteFile(L"e.txt"), f = files.WriteFile(L"f.txt");
    AddFilesToList(d + L" " + e + L" " + f, form);
    PumpMessages();
    ASSERT_EQ(form.Rows(), 6);
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid, CHILDID_SELF), 1u);
    LONG count = 0;
    access->get_accChildCount(&count);
    EXPECT_EQ(count, 6);

    events.Clear();
    form.Lista()->SelectedRow(5);
    form.RemoveSelectedFile();
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, grid, CHILDID_SELF), 1u);
    EXPECT_EQ(events.Count(EVENT_OBJECT_SELECTION, grid, 1), 1u) << "the first row, as after every removal";
}

TEST_F(ListaAccessibilityTest, LocationHitTestAndNavigationAgree) {
    LONG x = 0, y = 0, width = 0, height = 0;
    ASSERT_EQ(access->accLocation(&x, &y, &width, &height, Child(2)), S_OK);
    EXPECT_EQ(height, form.Lista()->RowHeight(2));
    EXPECT_GT(width, 0);
    RECT gridRect{};
    ::GetWindowRect(grid, &gridRect);
    EXPECT_GE(x, gridRect.left);
    EXPECT_GT(y, gridRect.top) << "below the header";

    VARIANT hit;
    ASSERT_EQ(access->accHitTest(x + 5, y + height / 2, &hit), S_OK);
    EXPECT_EQ(test::ChildId(hit), 2);
    ASSERT_EQ(access->accHitTest(x + 5, y - height / 2, &hit), S_OK);
    EXPECT_EQ(test::ChildId(hit), 1);
    EXPECT_EQ(access->accHitTest(gridRect.left - 5, y, &hit), S_FALSE) << "outside the list";

    VARIANT end;
    ASSERT_EQ(access->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &end), S_OK);
    EXPECT_EQ(test::ChildId(end), 1);
    ASSERT_EQ(access->accNavigate(NAVDIR_LASTCHILD, Child(CHILDID_SELF), &end), S_OK);
    EXPECT_EQ(test::ChildId(end), 3);
    ASSERT_EQ(access->accNavigate(NAVDIR_NEXT, Child(2), &end), S_OK);
    EXPECT_EQ(test::ChildId(end), 3);
    EXPECT_EQ(access->accNavigate(NAVDIR_DOWN, Child(3), &end), S_FALSE);
    ASSERT_EQ(access->accNavigate(NAVDIR_UP, Child(2), &end), S_OK);
    EXPECT_EQ(test::ChildId(end), 1);
}

TEST_F(ListaAccessibilityTest, ClosingTheWindowDisconnectsTheObject) {
    IDispatch* parent = nullptr;
    ASSERT_EQ(access->get_accParent(&parent), S_OK);
    ASSERT_NE(parent, nullptr);
    parent->Release();
    form.Unload();
    LONG count = 7;
    EXPECT_EQ(access->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(test::Name(access.get(), 1), L"");
    EXPECT_EQ(access->accSelect(SELFLAG_TAKESELECTION, Child(1)), CO_E_OBJNOTCONNECTED);
    VARIANT hit;
    EXPECT_EQ(access->accHitTest(0, 0, &hit), CO_E_OBJNOTCONNECTED);
}

TEST_F(ListaAccessibilityTest, TheFolderButtonsHaveNamesButShowOnlyTheirPictures) {
    const std::pair<HWND, const wchar_t*> buttons[] = {{form.temporaryD(), L"Temporary Folder"},
                                                       {form.desktopD(), L"Desktop Folder"},
                                                       {form.attachmentsD(), L"Attachments Folder"},
                                                       {form.customD(), L"Custom Folder"}};
    for (const auto& [button, name] : buttons) {
        AccessibleRef object = test::ClientAccessible(button);
        ASSERT_TRUE(object);
        EXPECT_EQ(test::Name(object.get(), CHILDID_SELF), name);
        EXPECT_TRUE(::GetWindowLongW(button, GWL_STYLE) & BS_ICON) << "the name is not drawn";
    }
}

}  // namespace
}  // namespace ferryl
