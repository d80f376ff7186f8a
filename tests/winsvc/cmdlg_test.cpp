#include "winsvc/cmdlg.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <string>
#include <vector>

#include "common/error.h"
#include "support/messages.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

// Presses a button of the common dialog this thread shows, noting its caption.
struct Presser {
    explicit Presser(int button)
        : driver(nullptr, [this, button](HWND dialog) {
              wchar_t text[256]{};
              ::GetWindowTextW(dialog, text, 256);
              caption = text;
              ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
          }) {}
    std::wstring caption;
    test::DialogDriver driver;  // last: it ends before the caption goes
};

TEST(CmDlg, ACancelRaisesItsErrorOnlyWhenAskedToAndAFailureAlwaysItsCode) {
    const struct {
        void (cmDlg::*show)();
        unsigned long flags;
        long cancelNumber;  // 0: the dialog fails
    } dialogs[] = {{&cmDlg::ShowOpen, 0, 1002},
                   {&cmDlg::ShowSave, 0, 1001},
                   {&cmDlg::ShowFont, 0, 1001},
                   {&cmDlg::ShowColor, 0, 1004},
                   {&cmDlg::ShowOpen, OFN_ENABLETEMPLATE, 0}};  // a template the dialog cannot find
    for (const auto& d : dialogs) {
        for (const bool cancelError : {false, true}) {
            cmDlg dlg;
            dlg.FileName(L"C:\\keep.txt");
            dlg.Color(0x030201);
            dlg.flags(d.flags);
            dlg.CancelError(cancelError);
            Presser presser(IDCANCEL);
            long raised = 0;
            try {
                (dlg.*d.show)();
            } catch (const Error& e) {
                raised = e.Number();
            }
            EXPECT_EQ(presser.driver.Found(), d.cancelNumber != 0) << d.cancelNumber;
            EXPECT_EQ(dlg.LastExtendedError() != 0, d.cancelNumber == 0);
            const long failure = static_cast<long>(dlg.LastExtendedError());
            EXPECT_EQ(raised, d.cancelNumber ? (cancelError ? d.cancelNumber : 0) : failure);
            EXPECT_EQ(dlg.FileName(), L"C:\\keep.txt");
            // A colour dialog cancelled without the error reads as no colour.
            EXPECT_EQ(dlg.Color(), d.cancelNumber == 1004 && !cancelError ? -1 : 0x030201);
        }
    }
}

TEST(CmDlg, OpenAndSaveGiveBackWhatTheDialogChose) {
    test::TempFolder folder;
    const std::wstring existing = folder.WriteFile(L"chosen file.txt");
    cmDlg open;
    open.Filter(L"Text (*.txt)|*.txt|All Files|*.*");
    open.InitDir(folder.Path());
    open.FileName(existing);
    open.DialogTitle(L"Pick one");
    cmDlg save;
    save.DefaultExt(L"log");
    save.FileName(folder / L"report");
    std::wstring caption;
    for (const auto& [dialog, show] : {std::pair{&save, &cmDlg::ShowSave}, {&open, &cmDlg::ShowOpen}}) {
        Presser presser(IDOK);
        (dialog->*show)();
        caption = presser.caption;
    }
    EXPECT_EQ(caption, L"Pick one");
    EXPECT_EQ(open.FileName(), existing);
    EXPECT_EQ(open.FileTitle(), L"chosen file.txt");
    EXPECT_EQ(open.FileName().substr(static_cast<size_t>(open.FileExt())), L"txt");
    EXPECT_EQ(open.Filter(), L"Text (*.txt)|*.txt|All Files|*.*") << "kept for a second dialog";
    EXPECT_EQ(save.FileName(), folder / L"report.log");
}

}  // namespace
}  // namespace ferryl
