#pragma once
// FerrylF: the main window. The file list `Lista` (a MoskGrid) and the status line with its count
// and total above the bottom panel `pozadinaP` with Copy To and "&Send Now"; the File, Window and
// Help menus and the list's context menu. Files dropped on the window or pasted into the list go
// through the same intake as a later start's. The object lives for the whole run; its window is
// loaded by the intake on first use and again after it was closed, each time with an empty list.
//
// ferryl_form.cpp holds the window, its layout, menus and messages; ferryl_form_list.cpp the file
// list; ferryl_form_send.cpp Copy To and Send Now.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/file_list_target.h"
#include "common/unique_handle.h"
#include "core/window_rules.h"
#include "grid/mosk_grid.h"
#include "mail/mail_target.h"
#include "mail/mapi_send.h"
#include "mainwindow/about_form.h"
#include "mainwindow/form_controls.h"
#include "send/send_run.h"
#include "winsvc/window.h"

namespace ferryl {

class cmDlg;
class FileDropTarget;

class InstanceF;

// The bottom panel: a plain container that hands its controls' notifications to the main window.
class PanelP : public Window {
  public:
    bool Create(HWND parent, const RECT& where);

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
};

class FerrylF : public Window, public FileListTarget, public MoskGridListener {
  public:
    static constexpr const wchar_t* kClassName = L"FerrylF";
    static constexpr const wchar_t* kCaption = L"Send To Mail Recipient Via Command Line";

    FerrylF() = default;
    ~FerrylF() override;

    // The receiving window that closing this window may unload.
    void SetInstanceWindow(InstanceF* instanceF) noexcept { m_instanceF = instanceF; }

    // Creates the window (hidden) and runs the load handler. True when it is loaded.
    bool Load() noexcept;
    // Saves the geometry, destroys the window and, when it was the last working window, unloads
    // the receiving window too, which ends the program.
    void Unload() noexcept;
    bool Loaded() const noexcept { return Hwnd() != nullptr; }

    // For the message loop: the menu shortcuts and the dialog keys (Tab between controls, Enter
    // for "&Send Now", Alt+letter). True when the message was handled.
    bool PreTranslateMessage(MSG& message) noexcept;

    // FileListTarget (the command-line intake).
    void ShowMainWindow() override;
    void RestoreMainWindow() override;
    long Rows() override;
    std::wstring CellText(long lRow, long lCol) override;
    void AddRow(const FileEntry& entry) override;
    void CellSelected(long lRow, long lCol, bool bSelected) override;
    void EnableSendNow() override;
    void ReportListFull(long notListed) override;

    // Commands. Remove and Copy Path act on every selected row; Launch, Properties and Open File
    // Location on the current one.
    void AddFileFromDialog() noexcept;
    void RemoveSelectedFile() noexcept;
    void Launch() noexcept;
    void ShowProperties() noexcept;
    void CopyPath(bool bShort) noexcept;
    void OpenFileLocation() noexcept;
    // Ctrl+V and Shift+Insert: the files on the clipboard, through the intake.
    void PasteFiles() noexcept;
    // The list's context menu at a point on the screen; from the keyboard (nothing) at the current row.
    void ShowContextMenu(std::optional<POINT> at) noexcept;
    void SetWindowState(WindowState state) noexcept;
    void ShowTopics() noexcept;
    void ShowAbout() noexcept;
    void copyC_Click() noexcept;
    void customD_Click() noexcept;
    void send_nowD_Click() noexcept;
    // File > E-Mail Program...: the registered mail clients or any program.
    void ChooseMailProgram() noexcept;

    // True while Send Now's work goes on after the click: the copies on their thread, or a mail
    // client's compose window that has the listed files (Simple MAPI). The rows stay, and Send Now
    // waits until it is over.
    bool Sending() const noexcept;
    // For the program's end: cancels the copies, and runs the thread's messages until they have
    // stopped (leaving no half-made copy) and a mail client that has the files has returned (it
    // runs inside this process).
    void WaitWhileSending() noexcept;

    // The controls, for the message loop's owner and the tests.
    MoskGrid* Lista() noexcept { return m_lista.get(); }
    HWND pozadinaP() const noexcept { return m_pozadinaP.Hwnd(); }
    HWND copyC() const noexcept { return m_copyC; }
    HWND putanjaT() const noexcept { return m_putanjaT; }
    HWND deleteC() const noexcept { return m_deleteC; }
    HWND temporaryD() const noexcept { return m_temporaryD; }
    HWND desktopD() const noexcept { return m_desktopD; }
    HWND attachmentsD() const noexcept { return m_attachmentsD; }
    HWND customD() const noexcept { return m_customD; }
    HWND send_nowD() const noexcept { return m_send_nowD; }
    // The line under the list: "12 files, 34.5 MB".
    HWND StatusLine() const noexcept { return m_status; }
    // What the window registered for drops (nothing while it is not loaded).
    FileDropTarget* DropTarget() const noexcept { return m_dropTarget; }
    HWND ToolTips() const noexcept { return m_toolTips; }
    AboutF& About() noexcept { return m_aboutF; }
    // The DPI the window is laid out for (its monitor's).
    int Dpi() const noexcept { return m_dpi; }

    const std::wstring& CustomFolder() const noexcept { return m_customFolder; }
    const std::wstring& MailProgramPath() const noexcept { return m_mailProgramPath; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;
    void OnDestroyed() noexcept override;

    // MoskGridListener: the list's keys and mouse.
    void KeyDown(short& KeyCode, short& Shift, bool& bDoDefault) override;
    void MouseUp(short& Button, short& Shift, float& x, float& y) override;
    void DblClick(long lRow, long lCol) override;
    void RowsChanged() override;
    void RowAccessibleName(long lRow, std::wstring& sName) override;

  private:
    void Form_Load();
    void Form_Resize();
    void SaveGeometry();
    void ApplySavedGeometry();
    void CreateControls();
    HWND AddControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, TwipsBox designed);
    void SetUpFileList();
    // The designed outer size at the window's DPI (the client area from twips).
    void SizeToDesign();
    // The folder buttons' pictures and the one above "&Send Now", at the window's DPI.
    void LoadIcons();
    void OnDpiChanged(int dpi, const RECT& suggested);
    int ToPixels(long twips) const noexcept;
    long ToTwips(int pixels) const noexcept;
    // False when the user cancelled; raises when the dialog fails.
    bool ShowOpenDialog(cmDlg& dialog, const wchar_t* title, const wchar_t* filter, HWND owner = nullptr);
    void ApplySendNowRule();
    // Holds the list's painting while a batch of rows comes in; the message loop lets it go.
    void DeferRedraw();
    void SetToolTip(HWND button, const wchar_t* text);
    // Copy To's folder, its folder buttons and "&Delete source files", all off while it is unchecked.
    void DisableCopyToControls() noexcept;
    void OnCommand(int id, int code) noexcept;
    // Launch, Properties, Remove, Copy Path and Open File Location, off while the list is empty.
    void EnableFileCommands(HMENU menu);
    std::wstring SelectedPath();
    // The paths of the selected rows, in list order.
    std::vector<std::wstring> SelectedPaths();
    // Where File > Add opens: the selected file's folder, else the user's Documents.
    std::wstring AddFolder();
    // Files from a drop or the clipboard, through the intake.
    void AddPaths(const std::vector<std::wstring>& paths);
    // Once a batch of rows is in: the first new one in view, the date and size columns wide enough.
    void ShowNewRows();
    void FitColumns(long firstRow);
    void UpdateStatusLine();
    // The status line's height at the window's DPI: a line of the form's font.
    int StatusHeight() const;
    // Moves the window, and shrinks it where needed, into the work area of its nearest monitor.
    void PlaceInsideWorkArea();
    // Drops are taken while the window is loaded.
    void RegisterDropTarget();
    void RevokeDropTarget() noexcept;
    int LoadedWindowCount() const;
    void Inform(const std::wstring& text, const wchar_t* title);

    // Send Now (ferryl_form_send_now.cpp): read the list and choose where the files go, have the
    // plan made and ask what it asks, start the copies and the smaller pictures, and once they are
    // done hand the files over and take the sent rows away.
    void SendNow();
    MailTargetChoice ChooseMailTarget(long rows);
    MailTargetChoice TargetForProgram(const std::wstring& path, long rows);
    std::optional<std::wstring> PickMailProgramFile(HWND owner);
    void KeepMailProgram(const std::wstring& path);
    std::vector<std::wstring> ListedPaths(long rows);
    // Reads what the plan is made of, and has it made; the reason when the send cannot go on.
    std::wstring ReadFacts(SendRun& run, SendFacts& facts);
    // Asks about files that cannot go, the picture size and a message too big, in that order;
    // false when the user goes back.
    bool AskWhatThePlanAsks(const SendFacts& facts, SendPlan& plan);
    // Asks about files that cannot go; false when the user goes back. A message that stops the
    // send ends with filesNote.
    bool AskAboutFilesThatCannotGo(const SendFacts& facts, const SendPlan& plan, const std::wstring& filesNote);
    // When pictures go, asks the size they go at and has the plan count them so; false when the
    // user cancels.
    bool AskThePictureSize(const SendFacts& facts, SendPlan& plan);
    // The job's steps for the plan: the copies, then the smaller pictures, when there are any.
    // Empty when the files go as they are.
    std::vector<SendStep> JobSteps(SendRun& run);
    void StartJob(std::unique_ptr<SendRun> run, std::vector<SendStep> steps);
    void OnSendJobDone() noexcept;
    void FinishJob();
    // Once the job is done: what is told first, then the hand-off. True when the files went.
    bool HandOffAfterJob(const SendRun& run, const JobOutcome& outcome);
    // For a mail program that reads ANSI paths: asks about copies and smaller pictures it cannot
    // open, and leaves out those the user lets go. False when the user goes back.
    bool AnsiReaderOpensTheCopies(std::vector<std::wstring>& paths, const std::wstring& filesNote);
    void NameCopiesInRows(const SendRun& run);
    void NameCopyInRow(long row, const std::wstring& copy);
    // True when the files went to the mail program.
    bool HandOffAndFinish(const SendRun& run, const std::vector<std::wstring>& paths);
    void OnMapiSendDone() noexcept;
    void FinishSend(long rows);
    // WM_CLOSE: at once, or once Send Now's step is over, or (while the job works) when the user
    // chooses to cancel it.
    void OnCloseAsked() noexcept;
    // WM_ENDSESSION: the copies cancelled and waited for.
    void EndSession() noexcept;
    // Runs one of Send Now's steps that may show dialogs, keeping a second run and the window's
    // close away meanwhile.
    void WhileSendNowRuns(const std::function<void()>& step) noexcept;
    // Runs part of a step; when it throws, tells the user which step stopped, why, and what has
    // happened to the files of sendRun (when there is one). True when it ran to its end.
    bool SendStepRan(const wchar_t* step, const std::function<void()>& run, const SendRun* sendRun);
    // A Yes/No question; true for Yes.
    bool Ask(const std::wstring& question);

    InstanceF* m_instanceF = nullptr;
    AboutF m_aboutF;  // stays loaded once shown, beyond this window's unload
    std::unique_ptr<MoskGrid> m_lista;
    PanelP m_pozadinaP;
    HWND m_copyC = nullptr;
    HWND m_putanjaT = nullptr;
    HWND m_deleteC = nullptr;
    HWND m_temporaryD = nullptr;
    HWND m_desktopD = nullptr;
    HWND m_attachmentsD = nullptr;
    HWND m_customD = nullptr;
    HWND m_send_nowD = nullptr;
    HWND m_status = nullptr;
    HWND m_toolTips = nullptr;
    HWND m_lastFocus = nullptr;
    HACCEL m_accelerators = nullptr;
    UniqueImageList m_sendNowImages;
    UniqueIcon m_folderIcons[4];
    int m_dpi = 96;
    FormLayout m_layout;
    UniqueFont m_font;
    WindowState m_loadState = WindowState::Normal;
    bool m_shownSinceLoad = false;
    bool m_unloading = false;
    bool m_redrawDeferred = false;
    // Files left out of a full list since the user was last told.
    long m_notListed = 0;
    // The first row of the batch coming in (0: none), shown once the batch is in.
    long m_firstNewRow = 0;
    bool m_statusPosted = false;
    // OLE (drag and drop) is set up on this thread for the object's life; the drop target registered.
    bool m_oleInitialized = false;
    FileDropTarget* m_dropTarget = nullptr;
    // Dropped files waiting for the intake.
    std::vector<std::wstring> m_droppedFiles;

    // The copies in progress; the Simple MAPI call in progress and the rows it sends; one of Send
    // Now's steps running (with the copies' end waiting for it); a close asked for meanwhile.
    std::unique_ptr<SendRun> m_run;
    std::unique_ptr<MapiSend> m_mapiSend;
    long m_sendingRows = 0;
    bool m_inSendNow = false;
    bool m_jobEndPending = false;
    bool m_closeAfterSend = false;

    // Kept for the whole run, as the settings file gives them at each load.
    std::wstring m_customFolder;
    std::wstring m_mailProgramPath;
};

}  // namespace ferryl
