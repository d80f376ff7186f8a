// FerrylF's file list: what the intake writes into it, its commands (Add, Remove, Launch,
// Properties, Copy Path, Open File Location), files dropped or pasted, its context menu, keys and
// mouse, the rows brought into view and the columns fitted, the status line under it, and what a
// screen reader hears of a row.

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/file_entry.h"
#include "app/intake.h"
#include "common/byte_size.h"
#include "common/continue_on_error.h"
#include "common/error.h"
#include "common/twips.h"
#include "core/file_list_text.h"
#include "mainwindow/ferryl_form.h"
#include "mainwindow/file_drop.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/resource.h"
#include "settings/funkcije.h"
#include "winsvc/cmdlg.h"
#include "winsvc/window_text.h"

namespace ferryl {

// --- FileListTarget ---

void FerrylF::ShowMainWindow() {
    if (!Loaded() && !Load())
        return;
    if (!::IsWindowVisible(Hwnd())) {
        int show = SW_SHOWNORMAL;
        if (!m_shownSinceLoad && m_loadState == WindowState::Maximized)
            show = SW_SHOWMAXIMIZED;
        else if (!m_shownSinceLoad && m_loadState == WindowState::Minimized)
            show = SW_SHOWMINIMIZED;
        ::ShowWindow(Hwnd(), show);
        m_shownSinceLoad = true;
        if (m_lista)
            ::SetFocus(m_lista->hwnd());
    }
    ::SetForegroundWindow(Hwnd());
}

void FerrylF::RestoreMainWindow() {
    if (Loaded() && ::IsIconic(Hwnd()))
        ::ShowWindow(Hwnd(), SW_RESTORE);
}

long FerrylF::Rows() {
    return m_lista ? m_lista->Rows() : 0;
}

std::wstring FerrylF::CellText(long lRow, long lCol) {
    return m_lista ? m_lista->CellText(lRow, lCol).ToText() : std::wstring();
}

void FerrylF::AddRow(const FileEntry& entry) {
    if (!m_lista)
        return;
    DeferRedraw();
    if (m_firstNewRow == 0)
        m_firstNewRow = Rows() + 1;
    // A size too wide for its column ends in "...", and keeps to one line: a right-aligned number
    // cut at its start reads as another number.
    m_lista->AddRowWithCells(
        {{entry.name},
         {entry.modified},
         {entry.size, static_cast<unsigned long>(kSizeColumnAlign) | DT_SINGLELINE | DT_END_ELLIPSIS},
         {TaggedValue(entry.path)}});
}

void FerrylF::CellSelected(long lRow, long lCol, bool bSelected) {
    if (!m_lista)
        return;
    // Selecting a row makes it the only one selected, as it did before several could be.
    if (bSelected)
        m_lista->SelectedRow(lRow);
    else
        m_lista->CellSelected(lRow, lCol, false);
}

void FerrylF::EnableSendNow() {
    // Not while a mail client has the listed files: a second Send Now must wait for it.
    ::EnableWindow(m_send_nowD, !Sending());
}

void FerrylF::ReportListFull(long notListed) {
    // One message for files that come in several batches before it shows.
    const bool posted = m_notListed > 0;
    m_notListed += notListed;
    if (!posted && !::PostMessageW(Hwnd(), kListFullMessage, 0, 0))
        throw Error(static_cast<long>(::GetLastError()), ErrorSource(L"FerrylF"), L"PostMessage failed");
}

// --- the file list's commands ---

void FerrylF::AddFileFromDialog() noexcept {
    if (!Loaded())
        return;
    ContinueOnError(L"FerrylF.AddFileFromDialog", [&] {
        cmDlg dialog;
        dialog.InitDir(AddFolder());
        if (!ShowOpenDialog(dialog, L"Add File", L"All Files (*.*)|*.*"))
            return;
        // The dialog's loop dispatches whatever comes, a close from another program too.
        if (!Loaded())
            return;
        if (Rows() >= kMaxListRows) {
            ReportListFull(1);
            return;
        }
        const std::optional<FileEntry> entry = ReadFileEntry(dialog.FileName(), TaggedValue(dialog.FileTitle()));
        if (!entry)
            throw Error(kErrFileNotFound, ErrorSource(L"FerrylF"), L"File not found");
        AddRow(*entry);
        CellSelected(1, 1, true);
        ApplySendNowRule();
    });
}

void FerrylF::RemoveSelectedFile() noexcept {
    // The rows a mail client is sending stay until it is done, so that they can go then.
    if (Rows() == 0 || Sending())
        return;
    std::vector<long> rows;
    ContinueOnError(L"RemoveSelectedFile: RowsSelected", [&] { rows = m_lista->RowsSelected(); });
    if (rows.empty())
        return;
    // From the bottom up, so that each number still names its row; painted once at the end.
    const bool redraw = m_lista->Redraw();
    m_lista->Redraw(false);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        ContinueOnError(L"RemoveSelectedFile: RemoveRow", [&] { m_lista->RemoveRow(*row); });
    ContinueOnError(L"RemoveSelectedFile: Redraw", [&] { m_lista->Redraw(redraw); });
    if (Rows() < 1) {
        ::EnableWindow(m_send_nowD, FALSE);
    } else {
        ContinueOnError(L"RemoveSelectedFile: SelectedRow", [&] { m_lista->SelectedRow(1); });
        ::EnableWindow(m_send_nowD, TRUE);
    }
}

std::wstring FerrylF::SelectedPath() {
    if (Rows() == 0 || !m_lista)
        return {};
    const long row = m_lista->SelectedRow();
    if (row < 1 || row > Rows())
        return {};
    return m_lista->Cell(row, kColumnPath).Text().ToText();
}

std::vector<std::wstring> FerrylF::SelectedPaths() {
    std::vector<std::wstring> paths;
    if (!m_lista)
        return paths;
    for (long row : m_lista->RowsSelected())
        paths.push_back(m_lista->Cell(row, kColumnPath).Text().ToText());
    return paths;
}

std::wstring FerrylF::AddFolder() {
    // Where the selected file is, which is likely where its neighbours are.
    const std::wstring selected = SelectedPath();
    if (const size_t slash = selected.find_last_of(L'\\'); slash != std::wstring::npos) {
        const std::wstring folder = selected.substr(0, slash + 1);
        if (FolderExists(folder))
            return folder;
    }
    UniqueTaskString documents;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, documents.put())) || !documents)
        return {};
    return documents.get();
}

void FerrylF::Launch() noexcept {
    ContinueOnError(L"FerrylF.Launch", [&] {
        const std::wstring path = SelectedPath();
        if (!path.empty())
            ::ShellExecuteW(Hwnd(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    });
}

void FerrylF::ShowProperties() noexcept {
    ContinueOnError(L"FerrylF.ShowProperties", [&] {
        const std::wstring path = SelectedPath();
        if (path.empty())
            return;
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_INVOKEIDLIST;
        info.lpVerb = L"properties";
        info.lpFile = path.c_str();
        info.nShow = SW_SHOW;
        ::ShellExecuteExW(&info);
    });
}

void FerrylF::CopyPath(bool bShort) noexcept {
    ContinueOnError(L"FerrylF.CopyPath", [&] {
        // One path a line when several rows are selected.
        std::wstring path;
        for (const std::wstring& selected : SelectedPaths()) {
            if (!path.empty())
                path += L"\r\n";
            path += bShort ? ShortPathName(selected) : selected;
        }
        if (path.empty())
            return;
        if (!::OpenClipboard(Hwnd()))
            return;
        ::EmptyClipboard();
        const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
        UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
        if (void* target = memory ? ::GlobalLock(memory.get()) : nullptr) {
            std::memcpy(target, path.c_str(), bytes);
            ::GlobalUnlock(memory.get());
            // The clipboard owns what it took.
            if (::SetClipboardData(CF_UNICODETEXT, memory.get()))
                memory.release();
        }
        ::CloseClipboard();
    });
}

void FerrylF::OpenFileLocation() noexcept {
    std::wstring path;
    ContinueOnError(L"FerrylF.OpenFileLocation: SelectedPath", [&] { path = SelectedPath(); });
    if (path.empty())
        return;
    const bool opened = ContinueOnError(L"FerrylF.OpenFileLocation", [&] {
        // Explorer opens the folder with the file selected.
        UniqueIdList item(::ILCreateFromPathW(path.c_str()));
        if (!item)
            throw Error(kErrFileNotFound, ErrorSource(L"FerrylF"), L"File not found");
        const HRESULT hr = ::SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0);
        if (FAILED(hr))
            throw Error(hr, ErrorSource(L"FerrylF"), L"SHOpenFolderAndSelectItems failed");
    });
    if (!opened)
        ContinueOnError(L"FerrylF.OpenFileLocation: Inform", [&] {
            Inform(L"The folder of \"" + path + L"\" cannot be shown. The file may have been moved or deleted.",
                   kWarningTitle);
        });
}

void FerrylF::PasteFiles() noexcept {
    std::vector<std::wstring> paths;
    ContinueOnError(L"FerrylF.PasteFiles", [&] { paths = FilesOnClipboard(Hwnd()); });
    AddPaths(paths);
}

void FerrylF::AddPaths(const std::vector<std::wstring>& paths) {
    if (!paths.empty() && Loaded())
        AddPathsToList(paths, *this);
}

void FerrylF::EnableFileCommands(HMENU menu) {
    const UINT some = Rows() != 0 ? MF_ENABLED : MF_GRAYED;
    for (UINT id : {IDM_LAUNCH, IDM_PROPERTIES, IDM_COPY_PATH, IDM_OPEN_LOCATION})
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | some);
    // The rows a mail client is sending stay until it is done.
    ::EnableMenuItem(menu, IDM_REMOVE, MF_BYCOMMAND | (Sending() ? MF_GRAYED : some));
}

void FerrylF::ShowContextMenu(std::optional<POINT> at) noexcept {
    if (!m_lista)
        return;
    ContinueOnError(L"FerrylF.ShowContextMenu", [&] {
        HWND grid = m_lista->hwnd();
        if (!at) {
            // From the keyboard: below the current row's start, or the list's top corner.
            RECT client{};
            ::GetClientRect(grid, &client);
            POINT point{0, 0};
            const long row = m_lista->SelectedRow(), column = m_lista->SelectedCol();
            if (row >= 1 && row <= Rows() && column >= 1) {
                m_lista->EnsureVisible(row, column);
                long left = 0, top = 0, width = 0, height = 0;
                m_lista->CellBoundary(row, column, left, top, width, height);
                point = POINT{TwipsToPixels(left, m_lista->Dpi()), TwipsToPixels(top + height, m_lista->Dpi())};
            }
            point.x = std::clamp<LONG>(point.x, 0, client.right);
            point.y = std::clamp<LONG>(point.y, 0, client.bottom);
            ::ClientToScreen(grid, &point);
            at = point;
        }
        UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_LIST_CONTEXT)));
        HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
        if (!popup)
            throw Error(static_cast<long>(::GetLastError()), ErrorSource(L"FerrylF"), L"LoadMenu failed");
        // A double click launches: the menu shows it so.
        ::SetMenuDefaultItem(popup, IDM_LAUNCH, FALSE);
        EnableFileCommands(popup);
        const UINT id = static_cast<UINT>(
            ::TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at->x, at->y, Hwnd(), nullptr));
        if (id != 0)
            OnCommand(static_cast<int>(id), 0);
    });
}

// --- what the list shows besides its rows ---

void FerrylF::ShowNewRows() {
    const long first = std::exchange(m_firstNewRow, 0);
    if (first < 1 || first > Rows())
        return;
    FitColumns(first);
    // Added to the end of a long list, the new files would be out of view.
    m_lista->EnsureVisible(first, kColumnName);
}

void FerrylF::FitColumns(long firstRow) {
    // The whole date and size, never cut: only the new rows need measuring, as the columns only grow.
    for (long column : {kColumnDate, kColumnSize})
        m_lista->WidenColumnToFit(TaggedValue(column), firstRow, Rows());
}

void FerrylF::UpdateStatusLine() {
    m_statusPosted = false;
    if (!m_status)
        return;
    const long rows = Rows();
    unsigned long long total = 0;
    for (long row = 1; row <= rows; ++row)
        total += LengthOfSizeText(m_lista->CellText(row, kColumnSize).ToText());
    const std::wstring text = FileCountAndTotal(rows, ByteSizeText(total));
    if (WindowText(m_status) != text)
        ::SetWindowTextW(m_status, text.c_str());
}

int FerrylF::StatusHeight() const {
    WindowDC dc(Hwnd());
    SelectGuard select(dc.get(), m_font.get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight + ScaleForDpi(6, m_dpi);
}

// --- drops ---

void FerrylF::RegisterDropTarget() {
    if (!m_oleInitialized)
        m_oleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    if (!m_oleInitialized || m_dropTarget)
        return;
    // Taken in once the drop is over: the program the files come from waits until Drop returns.
    auto* target = new FileDropTarget(Hwnd(), [this](std::vector<std::wstring> paths) {
        m_droppedFiles.insert(m_droppedFiles.end(), std::make_move_iterator(paths.begin()),
                              std::make_move_iterator(paths.end()));
        ::PostMessageW(Hwnd(), kDropMessage, 0, 0);
    });
    const HRESULT hr = ::RegisterDragDrop(Hwnd(), target);
    if (FAILED(hr)) {
        target->Release();
        throw Error(hr, ErrorSource(L"FerrylF"), L"RegisterDragDrop failed");
    }
    m_dropTarget = target;
}

void FerrylF::RevokeDropTarget() noexcept {
    if (!m_dropTarget)
        return;
    ::RevokeDragDrop(Hwnd());
    std::exchange(m_dropTarget, nullptr)->Release();
}

// --- the list's keys and mouse ---

void FerrylF::KeyDown(short& KeyCode, short& Shift, bool&) {
    // Ctrl+A, Ctrl+R, Ctrl+L and F1 are the menu's, in the accelerator table.
    const short modifiers = Shift & (kShiftMask | kCtrlMask | kAltMask);
    if (modifiers == 0 && KeyCode == VK_DELETE)
        RemoveSelectedFile();
    else if ((modifiers == kCtrlMask && KeyCode == 'V') || (modifiers == kShiftMask && KeyCode == VK_INSERT))
        PasteFiles();
    else if ((modifiers == 0 && KeyCode == VK_APPS) || (modifiers == kShiftMask && KeyCode == VK_F10))
        // Here rather than from the system, which makes nothing of the Menu key under Wine.
        ShowContextMenu(std::nullopt);
    else if (modifiers == kCtrlMask && KeyCode == 'C')
        CopyPath(false);
    else if (modifiers == (kCtrlMask | kShiftMask) && KeyCode == 'C')
        CopyPath(true);
    else if (modifiers == kAltMask && KeyCode == VK_RETURN)
        // Posted as the menu's command: the shell may show a modal window for the properties, and
        // a loop running inside this key would dispatch the key's WM_SYSCHAR before the list
        // learns the key was handled.
        ::PostMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDM_PROPERTIES, 0), 0);
    else
        return;
    // Handled: the list takes the key no further, so an Alt+Enter does not go on to the menu bar,
    // which finds no mnemonic for it and beeps.
    KeyCode = 0;
}

void FerrylF::MouseUp(short& Button, short&, float&, float&) {
    if (Button == 2 && m_lista)
        ::SetFocus(m_lista->hwnd());
}

void FerrylF::DblClick(long, long) {
    Launch();
}

void FerrylF::RowsChanged() {
    // Counted once the batch is in, not for each row of it.
    if (!m_statusPosted && Loaded())
        m_statusPosted = ::PostMessageW(Hwnd(), kStatusMessage, 0, 0) != FALSE;
}

void FerrylF::RowAccessibleName(long lRow, std::wstring& sName) {
    // The date in the user's long format, which cannot be misread as the screen's "07/12/26" can.
    SYSTEMTIME time{};
    const TaggedValue& modified = m_lista->CellText(lRow, kColumnDate);
    if (!modified.IsDate() || !::VariantTimeToSystemTime(modified.ToDate().value, &time))
        return;
    wchar_t date[128]{}, clock[64]{};
    if (!::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, date,
                           static_cast<int>(std::size(date)), nullptr) ||
        !::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, clock, static_cast<int>(std::size(clock))))
        return;
    sName = SpokenFileRow(m_lista->CellText(lRow, kColumnName).ToText(), std::wstring(date) + L" " + clock,
                          m_lista->CellText(lRow, kColumnSize).ToText(), m_lista->CellText(lRow, kColumnPath).ToText());
}

}  // namespace ferryl
