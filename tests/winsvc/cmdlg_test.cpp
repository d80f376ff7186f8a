#include "winsvc/cmdlg.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <string>

#include "common/error.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using namespace std::string_literals;

// The colour properties are signed 32-bit values, as RGB's result is not.
constexpr long Rgb(int red, int green, int blue) {
    return static_cast<long>(RGB(red, green, blue));
}

// Clicks a button of the dialog this thread shows, from a thread timer: the dialog's own modal
// loop dispatches the tick, so the test needs no second thread. A dialog still up after ten seconds
// fails the test and is cancelled, so that the run goes on.
class DialogButtonPresser {
  public:
    explicit DialogButtonPresser(int command) {
        s_command = command;
        s_caption.clear();
        s_found = false;
        s_start = ::GetTickCount();
        m_timer = ::SetTimer(nullptr, 0, 150, &Tick);
    }
    ~DialogButtonPresser() { ::KillTimer(nullptr, m_timer); }
    DialogButtonPresser(const DialogButtonPresser&) = delete;
    DialogButtonPresser& operator=(const DialogButtonPresser&) = delete;

    static bool Found() { return s_found; }
    static const std::wstring& Caption() { return s_caption; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (::GetTickCount() - s_start > 10000 && s_command != IDCANCEL) {
            ADD_FAILURE() << "the dialog is still up";
            s_command = IDCANCEL;
        }
        ::EnumThreadWindows(::GetCurrentThreadId(), &Press, 0);
    }
    static BOOL CALLBACK Press(HWND window, LPARAM) {
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 16);
        if (std::wstring(className) != L"#32770" || !::IsWindowVisible(window))
            return TRUE;
        s_found = true;
        wchar_t caption[256] = {};
        ::GetWindowTextW(window, caption, 256);
        s_caption = caption;
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(s_command, BN_CLICKED), 0);
        return FALSE;
    }

    UINT_PTR m_timer = 0;
    static inline int s_command = IDCANCEL;
    static inline std::wstring s_caption;
    static inline bool s_found = false;
    static inline DWORD s_start = 0;
};

long CancelErrorNumber(void (cmDlg::*show)(), bool cancelError, cmDlg& dlg) {
    dlg.CancelError(cancelError);
    DialogButtonPresser presser(IDCANCEL);
    try {
        (dlg.*show)();
    } catch (const Error& e) {
        EXPECT_TRUE(DialogButtonPresser::Found());
        if (e.Number() != 1004) {
            EXPECT_EQ(e.Source(), L"Run-time error");
            EXPECT_EQ(e.Description(), L"Cancel was selected");
        } else {
            EXPECT_EQ(e.Description(), L"Choose Color Dialog was canceled");
        }
        return e.Number();
    }
    EXPECT_TRUE(DialogButtonPresser::Found());
    return 0;
}

TEST(CmDlgShow, CancelRaisesTheCancelErrorOnlyWhenAskedTo) {
    cmDlg open;
    open.FileName(L"C:\\keep.txt");
    EXPECT_EQ(CancelErrorNumber(&cmDlg::ShowOpen, false, open), 0);
    EXPECT_EQ(open.FileName(), L"C:\\keep.txt");
    EXPECT_EQ(CancelErrorNumber(&cmDlg::ShowOpen, true, open), 1002);
    EXPECT_EQ(open.LastExtendedError(), 0u);

    cmDlg save;
    EXPECT_EQ(CancelErrorNumber(&cmDlg::ShowSave, true, save), 1001);

    cmDlg font;
    font.FontName(L"Tahoma");
    font.FontSize(9);
    EXPECT_EQ(CancelErrorNumber(&cmDlg::ShowFont, true, font), 1001);
    // The flags were adjusted before the dialog: screen fonts, initialised from the font record.
    EXPECT_EQ(font.flags() & (CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT),
              static_cast<unsigned long>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT));

    cmDlg colour;
    colour.Color(Rgb(1, 2, 3));
    EXPECT_EQ(CancelErrorNumber(&cmDlg::ShowColor, true, colour), 1004);
    EXPECT_EQ(colour.Color(), Rgb(1, 2, 3));
    EXPECT_EQ(CancelErrorNumber(&cmDlg::ShowColor, false, colour), 0);
    EXPECT_EQ(colour.Color(), -1);
}

TEST(CmDlgShow, OpenAndSaveReturnThePathTheNameAndTheExtension) {
    test::TempFolder folder;
    const std::wstring existing = folder.WriteFile(L"chosen file.txt");

    cmDlg open;
    open.CancelError(true);
    open.Filter(L"Text (*.txt)|*.txt|All Files|*.*");
    open.InitDir(folder.Path());
    open.FileName(existing);
    open.DialogTitle(L"Pick one");
    // The flags the main window's "Add File" uses.
    const unsigned long addFileFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
    open.flags(addFileFlags);
    {
        DialogButtonPresser presser(IDOK);
        open.ShowOpen();
    }
    EXPECT_EQ(DialogButtonPresser::Caption(), L"Pick one");
    EXPECT_EQ(open.FileName(), existing);
    EXPECT_EQ(open.FileTitle(), L"chosen file.txt");
    EXPECT_EQ(open.FileName().substr(static_cast<size_t>(open.FileExt())), L"txt");
    EXPECT_EQ(open.FilterIndex(), 1);
    EXPECT_EQ(open.flags() & addFileFlags, addFileFlags);           // the record's flags come back
    EXPECT_EQ(open.Filter(), L"Text (*.txt)|*.txt|All Files|*.*");  // kept for a second dialog

    cmDlg save;
    save.CancelError(true);
    save.DefaultExt(L"log");
    save.FileName(folder / L"report");
    {
        DialogButtonPresser presser(IDOK);
        save.ShowSave();
    }
    EXPECT_EQ(save.FileName(), folder / L"report.log");
    EXPECT_EQ(save.FileTitle(), L"report.log");
}

// A TrueType face the font dialog lists in every size and style; which faces exist depends on the
// machine's fonts.
std::wstring InstalledTrueTypeFace() {
    std::wstring face;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM found) -> int {
            if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == L'@')
                return 1;
            *reinterpret_cast<std::wstring*>(found) = font->lfFaceName;
            return 0;
        },
        reinterpret_cast<LPARAM>(&face), 0);
    ::ReleaseDC(nullptr, screen);
    return face;
}

TEST(CmDlgShow, ColourAndFontComeBackFromTheDialog) {
    cmDlg colour;
    colour.Color(Rgb(10, 20, 30));
    colour.flags(CC_RGBINIT | CC_ENABLEHOOK);  // the hook bit is dropped, or the dialog would fail
    {
        DialogButtonPresser presser(IDOK);
        colour.ShowColor();
    }
    EXPECT_EQ(colour.Color(), Rgb(10, 20, 30));

    const std::wstring face = InstalledTrueTypeFace();
    ASSERT_FALSE(face.empty());
    cmDlg font;
    font.FontName(face);
    font.FontSize(12);
    font.FontBold(true);
    font.FontColor(Rgb(0, 0, 200));
    {
        DialogButtonPresser presser(IDOK);
        font.ShowFont();
    }
    EXPECT_EQ(font.FontName(), face);
    EXPECT_EQ(font.FontSize(), 12);
    EXPECT_TRUE(font.FontBold());
    EXPECT_FALSE(font.FontItalic());
    EXPECT_EQ(font.FontColor(), Rgb(0, 0, 200));
    EXPECT_NE(font.flags() & CF_EFFECTS, 0u);
}

// Records the events of the hook and cancels the dialog from its first message.
class CancellingListener : public cmDlgEvents {
  public:
    void InitDialog(HWND& hDlg) override {
        initialised = hDlg;
        ::PostMessageW(::GetParent(hDlg), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    void FolderChange(HWND& hDlg) override { folderPath = owner->GetComDlgFileName(hDlg); }
    void DialogClose() override { closed = true; }

    cmDlg* owner = nullptr;
    HWND initialised = nullptr;
    std::wstring folderPath;
    bool closed = false;
};

TEST(CmDlgShow, TheHookRaisesEventsThroughTheHookedDialog) {
    test::TempFolder folder;
    CancellingListener listener;
    cmDlg dlg(&listener);
    listener.owner = &dlg;
    dlg.flags(OFN_EXPLORER | OFN_ENABLEHOOK);
    dlg.InitDir(folder.Path());
    dlg.HookedDialog(&dlg);
    dlg.CancelError(true);
    try {
        dlg.ShowOpen();
        ADD_FAILURE() << "the cancel raised nothing";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 1002);
    }
    EXPECT_NE(listener.initialised, nullptr);
    EXPECT_TRUE(listener.closed);
    EXPECT_EQ(listener.folderPath.rfind(folder.Path(), 0), 0u) << listener.folderPath;
    EXPECT_EQ(dlg.HookedDialog(), nullptr);  // cleared when the dialog closed

    // Without a hooked dialog the hook function forwards nothing.
    listener.closed = false;
    EXPECT_EQ(dlg.DialogHookFunction(nullptr, WM_DESTROY, 0, 0), 0);
    EXPECT_FALSE(listener.closed);
}

TEST(CmDlgShow, ASystemFailureIsRaisedAsItsCodeNotTakenForACancel) {
    cmDlg open;
    open.flags(OFN_ENABLETEMPLATE);  // a template the dialog cannot find
    DialogButtonPresser presser(IDCANCEL);
    try {
        open.ShowOpen();
        ADD_FAILURE() << "the failure passed for a cancel";
    } catch (const Error& e) {
        EXPECT_NE(e.Number(), 0);
        EXPECT_EQ(static_cast<unsigned long>(e.Number()), open.LastExtendedError());
    }

    // A machine without printers fails the same way; with one, a cancel answers false.
    cmDlg printer;
    try {
        EXPECT_FALSE(printer.ShowPrinter());
        EXPECT_TRUE(DialogButtonPresser::Found());
    } catch (const Error& e) {
        EXPECT_NE(e.Number(), 0);
        EXPECT_EQ(static_cast<unsigned long>(e.Number()), printer.LastExtendedError());
    }
}

TEST(CmDlgCentre, MovesTheFrameOverTheWorkAreaOrTheGivenWindow) {
    HWND frame =
        ::CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, frame, nullptr, nullptr, nullptr);
    HWND other =
        ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 300, 400, 600, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(frame && child && other);
    cmDlg dlg;

    dlg.CenterDialog(child);
    RECT work{}, moved{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(frame, &moved);
    EXPECT_EQ(moved.left, work.left + (work.right - work.left - 200) / 2);
    EXPECT_EQ(moved.top, work.top + (work.bottom - work.top - 100) / 2);
    EXPECT_EQ(moved.right - moved.left, 200);

    dlg.CenterDialog(frame, other);  // a top-level dialog is its own frame
    ::GetWindowRect(frame, &moved);
    EXPECT_EQ(moved.left, 500);
    EXPECT_EQ(moved.top, 500);

    ::DestroyWindow(other);
    ::DestroyWindow(frame);
}

}  // namespace
}  // namespace ferryl
