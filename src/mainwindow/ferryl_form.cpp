#include "mainwindow/ferryl_form.h"

#include <ole2.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/instance_window.h"
#include "app/start_up.h"
#include "common/continue_on_error.h"
#include "common/error.h"
#include "common/twips.h"
#include "mainwindow/form_controls.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/resource.h"
#include "settings/funkcije.h"
#include "settings/ini.h"
#include "winsvc/cmdlg.h"

namespace ferryl {

namespace {

constexpr wchar_t kPanelClassName[] = L"FerrylPozadinaP";
constexpr wchar_t kPositionSection[] = L"Window Position";

// What the user is told of files a full list left out.
std::wstring ListFullText(long notListed) {
    return L"The list holds at most " + std::to_wstring(kMaxListRows) + L" files, so " + std::to_wstring(notListed) +
           (notListed == 1 ? L" file was" : L" files were") + L" not listed.";
}

constexpr int kListaId = 100;
constexpr int kCopyCId = 201;
constexpr int kPutanjaTId = 202;
constexpr int kDeleteCId = 203;
constexpr int kTemporaryDId = 204;
constexpr int kDesktopDId = 205;
constexpr int kAttachmentsDId = 206;
constexpr int kCustomDId = 207;
constexpr int kSendNowDId = 208;
constexpr int kStatusId = 101;

// The list's name for screen readers.
constexpr wchar_t kListaName[] = L"Files";

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Designed geometry, in twips.
constexpr long kClientWidth = 5880;
constexpr long kClientHeight = 4095;
constexpr long kPanelHeight = 1095;
constexpr long kSendNowWidth = 975;

// OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES
constexpr unsigned long kOpenFlags = 0x201804;

}  // namespace

// --- the bottom panel ---

bool PanelP::Create(HWND parent, const RECT& where) {
    RegisterWindowClass(kPanelClassName, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    // WS_EX_CONTROLPARENT: the dialog keys of the main window walk into the panel's controls.
    return CreateHandle(kPanelClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, where.left, where.top, where.right - where.left, where.bottom - where.top,
                        parent) != nullptr;
}

LRESULT PanelP::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (HWND parent = ::GetParent(Hwnd()))
                return ::SendMessageW(parent, message, wParam, lParam);
            break;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

// --- loading and unloading ---

FerrylF::~FerrylF() {
    if (Loaded()) {
        m_instanceF = nullptr;  // the program is ending anyway: no second unload from here
        Unload();
    }
    if (m_oleInitialized)
        ::OleUninitialize();
}

bool FerrylF::Load() noexcept {
    if (Loaded())
        return true;
    bool loaded = false;
    ContinueOnError(L"FerrylF.Load", [&] {
        HINSTANCE module = ::GetModuleHandleW(nullptr);
        HICON icon = static_cast<HICON>(
            ::LoadImageW(module, MAKEINTRESOURCEW(IDI_FERRYL), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        RegisterWindowClass(kClassName, CS_DBLCLKS, ::GetSysColorBrush(COLOR_BTNFACE), icon);
        UniqueMenu menu(::LoadMenuW(module, MAKEINTRESOURCEW(IDM_FERRYL)));
        if (!CreateHandle(kClassName, kCaption, kStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          nullptr, menu.get()))
            return;
        menu.release();  // the window's now: it goes with it
        // Only the window knows the DPI of the monitor it is on.
        m_dpi = WindowDpi(Hwnd());
        SizeToDesign();
        if (!m_accelerators)
            m_accelerators = ::LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDA_FERRYL));
        m_shownSinceLoad = false;
        m_unloading = false;
        CreateControls();
        Form_Load();
        // The saved position may have taken the hidden window to a monitor of another scale.
        if (const int dpi = WindowDpi(Hwnd()); dpi != m_dpi) {
            RECT outer{};
            ::GetWindowRect(Hwnd(), &outer);
            OnDpiChanged(dpi, RECT{outer.left, outer.top, outer.left + ::MulDiv(outer.right - outer.left, dpi, m_dpi),
                                   outer.top + ::MulDiv(outer.bottom - outer.top, dpi, m_dpi)});
        }
        ContinueOnError(L"FerrylF.Load: PlaceInsideWorkArea", [&] { PlaceInsideWorkArea(); });
        Form_Resize();
        // Registered once the window is up and idle: registering starts COM's remoting in this
        // process (some 40 ms under Wine), which the first paint need not wait for.
        if (!::SetTimer(Hwnd(), kDropTargetTimer, USER_TIMER_MINIMUM, nullptr))
            ContinueOnError(L"FerrylF.Load: RegisterDropTarget", [&] { RegisterDropTarget(); });
        UpdateStatusLine();
        loaded = true;
    });
    if (!loaded && Loaded())
        ::DestroyWindow(Hwnd());
    return loaded;
}

void FerrylF::CreateControls() {
    const HWND form = Hwnd();
    m_font = CreateFormFont(m_dpi);
    m_layout.Clear();

    // Created first, so the list comes first in the tab order.
    m_lista = std::make_unique<MoskGrid>();
    m_lista->SetListener(this);
    RECT client{};
    ::GetClientRect(form, &client);
    m_lista->Create(form, 0, 0, client.right, client.bottom - ToPixels(kPanelHeight), kListaId);
    m_lista->Dpi(m_dpi);
    ::SetWindowTextW(m_lista->hwnd(), kListaName);
    // The count and total under the list; Form_Resize places it.
    m_status = ::CreateWindowExW(
        0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE, 0, 0, 0, 0,
        form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(m_status, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);

    m_pozadinaP.Create(form, TwipsRect(0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight, m_dpi));
    const HWND panel = m_pozadinaP.Hwnd();
    m_copyC = AddControl(panel, L"BUTTON", L"&Copy To", WS_TABSTOP | BS_AUTOCHECKBOX, kCopyCId, {120, 150, 975, 255});
    // The path box is named by the check box's caption: Active Accessibility names a box by the
    // label just before it, which may be hidden. Without the "&", Alt+C stays the check box's.
    ::CreateWindowExW(0, WC_STATICW, L"Copy To", WS_CHILD | SS_LEFT, 0, 0, 0, 0, panel, nullptr,
                      ::GetModuleHandleW(nullptr), nullptr);
    m_putanjaT =
        AddControl(panel, L"EDIT", L"", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, kPutanjaTId, {1200, 120, 3375, 285});
    ::SetWindowLongPtrW(m_putanjaT, GWL_EXSTYLE, ::GetWindowLongPtrW(m_putanjaT, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    ::SetWindowPos(m_putanjaT, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    m_deleteC = AddControl(panel, L"BUTTON", L"&Delete source files", WS_TABSTOP | BS_AUTOCHECKBOX, kDeleteCId,
                           {240, 670, 1695, 255});
    // The folder buttons show only a picture; their text is the name a screen reader speaks.
    m_temporaryD = AddControl(panel, L"BUTTON", kTemporaryFolderName, WS_TABSTOP | BS_PUSHBUTTON | BS_ICON,
                              kTemporaryDId, {2280, 480, 495, 495});
    m_desktopD = AddControl(panel, L"BUTTON", kDesktopFolderName, WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, kDesktopDId,
                            {2880, 480, 495, 495});
    m_attachmentsD = AddControl(panel, L"BUTTON", kAttachmentsFolderName, WS_TABSTOP | BS_PUSHBUTTON | BS_ICON,
                                kAttachmentsDId, {3480, 480, 495, 495});
    m_customD = AddControl(panel, L"BUTTON", kCustomFolderName, WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, kCustomDId,
                           {4080, 480, 495, 495});
    m_send_nowD = AddControl(panel, L"BUTTON", L"&Send Now", WS_TABSTOP | BS_DEFPUSHBUTTON | BS_BOTTOM, kSendNowDId,
                             {4680, 120, kSendNowWidth, 855});
    LoadIcons();

    m_toolTips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
}

void FerrylF::LoadIcons() {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    const int folderSize = ScaleForDpi(16, m_dpi);
    const std::pair<HWND, int> folderIcons[] = {{m_temporaryD, IDI_TEMPORARY},
                                                {m_desktopD, IDI_DESKTOP},
                                                {m_attachmentsD, IDI_ATTACHMENTS},
                                                {m_customD, IDI_CUSTOM}};
    for (size_t i = 0; i < std::size(folderIcons); ++i) {
        const auto& [button, id] = folderIcons[i];
        // Not shared: a shared icon keeps the size it was first loaded at.
        UniqueIcon icon(static_cast<HICON>(
            ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, folderSize, folderSize, LR_DEFAULTCOLOR)));
        ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
        // The old picture goes only once its button shows the new one.
        m_folderIcons[i] = std::move(icon);
    }
    // The picture above the caption (32 by 32 at 96 DPI): an image list aligned to the top
    // (common controls 6), which keeps its own copy of the icon.
    const int sendSize = ScaleForDpi(32, m_dpi);
    UniqueImageList images(::ImageList_Create(sendSize, sendSize, ILC_COLOR32 | ILC_MASK, 1, 0));
    UniqueIcon sendIcon(static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(IDI_SEND_NOW), IMAGE_ICON, sendSize, sendSize, LR_DEFAULTCOLOR)));
    if (images && sendIcon)
        ::ImageList_AddIcon(images.get(), sendIcon.get());
    BUTTON_IMAGELIST list{images.get(), {0, ScaleForDpi(4, m_dpi), 0, 0}, BUTTON_IMAGELIST_ALIGN_TOP};
    ::SendMessageW(m_send_nowD, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    m_sendNowImages = std::move(images);
}

int FerrylF::ToPixels(long twips) const noexcept {
    return TwipsToPixels(twips, m_dpi);
}

long FerrylF::ToTwips(int pixels) const noexcept {
    return PixelsToTwips(pixels, m_dpi);
}

void FerrylF::SizeToDesign() {
    const SIZE outer = OuterSizeForClient(SIZE{ToPixels(kClientWidth), ToPixels(kClientHeight)}, kStyle, 0,
                                          ::GetMenu(Hwnd()) != nullptr, m_dpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FerrylF::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0)
        return;
    m_dpi = dpi;
    UniqueFont font = CreateFormFont(dpi);
    m_layout.Place(dpi, font.get());
    ::SendMessageW(m_status, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The controls use the new font now; the old one may go.
    m_font = std::move(font);
    LoadIcons();
    if (m_lista) {
        ContinueOnError(L"OnDpiChanged: list DPI", [&] { m_lista->Dpi(dpi); });
        // Text does not grow in step with the DPI: the columns are measured again in the new font.
        ContinueOnError(L"OnDpiChanged: FitColumns", [&] { FitColumns(1); });
    }
    // The system's suggestion keeps the window in place on its new monitor, scaled; the WM_SIZE it
    // sends lays the list and the panel out at the new DPI.
    ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A suggestion of the same size sends none.
    ContinueOnError(L"OnDpiChanged: Form_Resize", [&] { Form_Resize(); });
}

HWND FerrylF::AddControl(HWND parent,
                         const wchar_t* className,
                         const wchar_t* text,
                         DWORD style,
                         int id,
                         TwipsBox designed) {
    return m_layout.Add(parent, className, text, style, id, designed, m_dpi, m_font.get());
}

void FerrylF::Form_Load() {
    ContinueOnError(L"Form_Load: caption", [&] { ::SetWindowTextW(Hwnd(), kCaption); });
    DisableCopyToControls();
    ContinueOnError(L"Form_Load: SetUpFileList", [&] { SetUpFileList(); });
    ContinueOnError(L"Form_Load: HeaderFlat", [&] { m_lista->HeaderFlat(true); });
    ContinueOnError(L"Form_Load: list focus", [&] {
        HWND grid = m_lista->hwnd();
        ::SetWindowLongPtrW(grid, GWL_STYLE, ::GetWindowLongPtrW(grid, GWL_STYLE) | WS_TABSTOP);
        ::SetFocus(grid);
    });
    m_loadState = WindowState::Normal;
    const std::wstring& iniFile = StartUp().IniFile;
    if (FileExists(iniFile)) {
        ContinueOnError(L"Form_Load: saved geometry", [&] {
            m_loadState = ParseWindowState(ReadIni(kPositionSection, L"WindowState", iniFile));
            if (m_loadState == WindowState::Normal)
                ApplySavedGeometry();
        });
        ContinueOnError(L"Form_Load: MailProgram",
                        [&] { m_mailProgramPath = ReadIni(kSettingsSection, L"MailProgram", iniFile); });
        ContinueOnError(L"Form_Load: AttachmentsFolder", [&] {
            m_customFolder = ReadIni(kSettingsSection, L"AttachmentsFolder", iniFile);
            if (!m_customFolder.empty() && m_customFolder.back() != L'\\')
                m_customFolder += L'\\';
        });
    }
    ApplySendNowRule();
}

void FerrylF::ApplySavedGeometry() {
    const std::wstring& iniFile = StartUp().IniFile;
    const SavedGeometry saved = ParseGeometry(
        ReadIni(kPositionSection, L"WindowTop", iniFile), ReadIni(kPositionSection, L"WindowLeft", iniFile),
        ReadIni(kPositionSection, L"WindowHeight", iniFile), ReadIni(kPositionSection, L"WindowWidth", iniFile));
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    int left = outer.left, top = outer.top;
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    // The position is on the whole desktop, whose pixels all monitors share: it converts at the
    // system's DPI, the same whichever monitor the window is on. The size is the window's own.
    if (saved.top)
        top = TwipsToPixels(*saved.top, ScreenDpi());
    if (saved.left)
        left = TwipsToPixels(*saved.left, ScreenDpi());
    if (saved.height)
        height = ToPixels(*saved.height);
    if (saved.width)
        width = ToPixels(*saved.width);
    ::SetWindowPos(Hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FerrylF::SetUpFileList() {
    MoskGrid& lista = *m_lista;
    // What the window's design data gives the grid.
    ContinueOnError(L"SetUpFileList: GridLines", [&] { lista.GridLines(true); });
    ContinueOnError(L"SetUpFileList: HeaderButtons", [&] { lista.HeaderButtons(false); });
    ContinueOnError(L"SetUpFileList: HeaderHotTrack", [&] { lista.HeaderHotTrack(false); });
    ContinueOnError(L"SetUpFileList: BackgroundPictureWidth", [&] { lista.BackgroundPictureWidth(0); });
    ContinueOnError(L"SetUpFileList: BackgroundPictureHeight", [&] { lista.BackgroundPictureHeight(0); });
    ContinueOnError(L"SetUpFileList: Font", [&] { lista.Font(GridFont(L"MS Sans Serif", 8.25)); });

    // The list's sizes are pixels designed at 96 DPI, as is the grid's own header height.
    const auto px = [&](long pixels) { return static_cast<long>(ScaleForDpi(pixels, m_dpi)); };
    ContinueOnError(L"SetUpFileList: HeaderHeight", [&] { lista.HeaderHeight(px(lista.HeaderHeight())); });

    ContinueOnError(L"SetUpFileList: RowMode", [&] { lista.RowMode(true); });
    // Ctrl+click, Shift+click and Shift+arrows select several files, for Remove and Copy Path.
    ContinueOnError(L"SetUpFileList: MultiSelect", [&] { lista.MultiSelect(true); });
    ContinueOnError(L"SetUpFileList: DefaultRowHeight", [&] { lista.DefaultRowHeight(px(18)); });
    ContinueOnError(L"SetUpFileList: HeaderFlat", [&] { lista.HeaderFlat(false); });
    const TaggedValue missing = TaggedValue::Missing();
    // "file", "size", "path" and "body" carry the row-text flag; the grid takes the last flagged
    // column, "body", as its row text and shows the other four side by side.
    ContinueOnError(L"SetUpFileList: column file", [&] {
        lista.AddColumn(L"file", L"Name", 0, -1, px(110), true, false, missing, true, L"", true, 102);
    });
    ContinueOnError(L"SetUpFileList: column date", [&] {
        lista.AddColumn(L"date", L"Date", 0, -1, px(90), true, false, missing, true, L"dd/mm/yy hh:mm", false, 200);
    });
    ContinueOnError(L"SetUpFileList: column size", [&] {
        lista.AddColumn(L"size", L"Size (bytes)", 0, -1, px(80), true, false, missing, true, L"", true, 102);
    });
    ContinueOnError(L"SetUpFileList: column path", [&] {
        lista.AddColumn(L"path", L"Full Path", 0, -1, px(240), true, false, missing, true, L"", true, 102);
    });
    ContinueOnError(L"SetUpFileList: column body",
                    [&] { lista.AddColumn(L"body", L"", 0, -1, px(544), true, false, missing, true, L"", true); });
    ContinueOnError(L"SetUpFileList: KeySearchColumn",
                    [&] { lista.KeySearchColumn(lista.ColumnIndex(TaggedValue(std::wstring(L"file")))); });
    ContinueOnError(L"SetUpFileList: SetHeaders", [&] { lista.SetHeaders(); });
}

void FerrylF::DeferRedraw() {
    // Every row written repaints the whole list; a command line of many files would repaint it
    // once per cell. The posted message arrives when the intake is done.
    if (!m_lista || m_redrawDeferred)
        return;
    m_lista->Redraw(false);
    m_redrawDeferred = ::PostMessageW(Hwnd(), kRedrawMessage, 0, 0) != FALSE;
    if (!m_redrawDeferred)
        m_lista->Redraw(true);
}

void FerrylF::ApplySendNowRule() {
    ::EnableWindow(m_send_nowD, Rows() != 0 && !Sending());
}

int FerrylF::LoadedWindowCount() const {
    int count = Loaded() ? 1 : 0;
    if (m_instanceF && m_instanceF->Loaded())
        ++count;
    if (m_aboutF.IsLoaded())
        ++count;
    return count;
}

void FerrylF::Unload() noexcept {
    if (!Loaded() || m_unloading)
        return;
    m_unloading = true;
    ContinueOnError(L"Unload: SaveGeometry", [&] { SaveGeometry(); });
    bool endsProgram = true;
    ContinueOnError(L"Unload: ClosingEndsProgram", [&] { endsProgram = ClosingEndsProgram(LoadedWindowCount()); });
    ::DestroyWindow(Hwnd());
    if (endsProgram && m_instanceF)
        m_instanceF->Unload();
}

void FerrylF::SaveGeometry() {
    WindowState state = WindowState::Normal;
    if (::IsZoomed(Hwnd()))
        state = WindowState::Maximized;
    else if (::IsIconic(Hwnd()))
        state = WindowState::Minimized;
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    // The position at the system's DPI, the size at the window's (see ApplySavedGeometry).
    const Rect twips{PixelsToTwips(outer.left, ScreenDpi()), PixelsToTwips(outer.top, ScreenDpi()),
                     ToTwips(outer.right - outer.left), ToTwips(outer.bottom - outer.top)};
    for (const auto& [key, value] : GeometryToSave(state, twips))
        WriteIni(kPositionSection, key, value, StartUp().IniFile);
}

void FerrylF::OnDestroyed() noexcept {
    // The grid's window went with this one; the object follows, so the next load starts empty.
    m_lista.reset();
    m_copyC = m_putanjaT = m_deleteC = nullptr;
    m_temporaryD = m_desktopD = m_attachmentsD = m_customD = m_send_nowD = nullptr;
    m_toolTips = m_lastFocus = nullptr;
    m_layout.Clear();
    m_sendNowImages.reset();
    for (UniqueIcon& icon : m_folderIcons)
        icon.reset();
    m_status = nullptr;
    m_unloading = false;
    m_redrawDeferred = false;
    m_notListed = 0;
    m_firstNewRow = 0;
    m_statusPosted = false;
    m_droppedFiles.clear();
    // Only the program's end takes the window while a mail client still has the files; the call's
    // thread is left to it. Copies still running stop first.
    m_run.reset();
    m_mapiSend.reset();
    m_jobEndPending = false;
    m_closeAfterSend = false;
}

// --- the message loop's share ---

bool FerrylF::PreTranslateMessage(MSG& message) noexcept {
    if (!Loaded() || !message.hwnd || (message.hwnd != Hwnd() && !::IsChild(Hwnd(), message.hwnd)))
        return false;
    if (!::IsWindowEnabled(Hwnd()))
        return false;  // a modal box of ours is up
    if (m_accelerators && ::TranslateAcceleratorW(Hwnd(), m_accelerators, &message))
        return true;
    // The list takes its own keys (arrows, Home, End...); only Tab and Enter leave it for the
    // dialog keys, which would otherwise move the focus on every arrow.
    HWND grid = m_lista ? m_lista->hwnd() : nullptr;
    if (grid && (message.hwnd == grid || ::IsChild(grid, message.hwnd)) &&
        (message.message == WM_KEYDOWN || message.message == WM_CHAR || message.message == WM_KEYUP)) {
        const bool tabOrEnter = message.wParam == VK_TAB || message.wParam == VK_RETURN ||
                                (message.message == WM_CHAR && (message.wParam == L'\t' || message.wParam == L'\r'));
        if (!tabOrEnter)
            return false;
    }
    return ::IsDialogMessageW(Hwnd(), &message) != FALSE;
}

// --- the window's commands ---

bool FerrylF::ShowOpenDialog(cmDlg& dialog, const wchar_t* title, const wchar_t* filter, HWND owner) {
    dialog.hwnd(owner ? owner : Hwnd());
    dialog.DialogTitle(title);
    // A cancel is the user's choice, not a failure: it leaves the file name empty.
    dialog.CancelError(false);
    dialog.flags(kOpenFlags);
    dialog.Filter(filter);
    dialog.FilterIndex(1);
    dialog.ShowOpen();  // raises when the dialog fails
    return !dialog.FileName().empty();
}

void FerrylF::SetWindowState(WindowState state) noexcept {
    switch (state) {
        case WindowState::Normal:
            ::ShowWindow(Hwnd(), SW_RESTORE);
            break;
        case WindowState::Minimized:
            ::ShowWindow(Hwnd(), SW_MINIMIZE);
            break;
        case WindowState::Maximized:
            ::ShowWindow(Hwnd(), SW_MAXIMIZE);
            break;
    }
}

void FerrylF::ShowTopics() noexcept {
    ContinueOnError(L"FerrylF.ShowTopics", [&] {
        // The help file sits beside the program; a full path keeps the current folder out of it.
        const std::wstring help = ProgramFolder() + L"\\fyh.chm";
        ::ShellExecuteW(Hwnd(), L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    });
}

void FerrylF::ShowAbout() noexcept {
    ContinueOnError(L"FerrylF.ShowAbout", [&] {
        if (!m_aboutF.Load())
            return;
        RECT outer{};
        ::GetWindowRect(Hwnd(), &outer);
        m_aboutF.ShowModal(Hwnd(), POINT{outer.left, outer.top});
    });
}

void FerrylF::PlaceInsideWorkArea() {
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    const Rect now{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
    const Rect placed = PlacedInside(now, Rect{work.left, work.top, work.right - work.left, work.bottom - work.top});
    if (placed != now)
        ::SetWindowPos(Hwnd(), nullptr, placed.left, placed.top, placed.width, placed.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Copy To ---

void FerrylF::SetToolTip(HWND button, const wchar_t* text) {
    if (!m_toolTips)
        return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_pozadinaP.Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    ::SendMessageW(m_toolTips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// --- messages ---

void FerrylF::OnCommand(int id, int code) noexcept {
    switch (id) {
        case IDM_ADD:
            AddFileFromDialog();
            break;
        case IDM_REMOVE:
            if (Rows() != 0)
                RemoveSelectedFile();
            break;
        case IDM_LAUNCH:
            Launch();
            break;
        case IDM_PROPERTIES:
            ShowProperties();
            break;
        case IDM_COPY_PATH:
            CopyPath(false);
            break;
        case IDM_OPEN_LOCATION:
            OpenFileLocation();
            break;
        case IDM_EXIT:
            // As the window's close box does, with the same rules for a send under way.
            ::PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
            break;
        case IDM_MAIL_PROGRAM:
            ChooseMailProgram();
            break;
        case IDM_RESTORE:
            SetWindowState(WindowState::Normal);
            break;
        case IDM_MINIMIZE:
            SetWindowState(WindowState::Minimized);
            break;
        case IDM_MAXIMIZE:
            SetWindowState(WindowState::Maximized);
            break;
        case IDM_TOPICS:
            ShowTopics();
            break;
        case IDM_ABOUT:
            ShowAbout();
            break;
        case kCopyCId:
            if (code == BN_CLICKED)
                copyC_Click();
            break;
        case kTemporaryDId:
            if (code == BN_CLICKED)
                ::SetWindowTextW(m_putanjaT, StartUp().TempFolder.c_str());
            break;
        case kDesktopDId:
            if (code == BN_CLICKED)
                ::SetWindowTextW(m_putanjaT, StartUp().DesktopFolder.c_str());
            break;
        case kAttachmentsDId:
            if (code == BN_CLICKED)
                ::SetWindowTextW(m_putanjaT, StartUp().EudoraAttachmentsFolder.c_str());
            break;
        case kCustomDId:
            if (code == BN_CLICKED)
                customD_Click();
            break;
        case kSendNowDId:
        case IDOK:
            if (code == BN_CLICKED && ::IsWindowEnabled(m_send_nowD))
                send_nowD_Click();
            break;
        default:
            break;
    }
}

void FerrylF::Form_Resize() {
    if (::IsIconic(Hwnd()))
        return;
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    if (!::IsZoomed(Hwnd())) {
        const Size current{outer.right - outer.left, outer.bottom - outer.top};
        // Never larger than the screen it is on: a high DPI on a small screen would push Send Now off.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        Size minimum{ToPixels(kMinimumWindowWidth), ToPixels(kMinimumWindowHeight)};
        if (::GetMonitorInfoW(::MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &monitor)) {
            minimum.width = std::min<long>(minimum.width, monitor.rcWork.right - monitor.rcWork.left);
            minimum.height = std::min<long>(minimum.height, monitor.rcWork.bottom - monitor.rcWork.top);
        }
        if (const std::optional<Size> snapped = SnappedSize(current, minimum)) {
            // The WM_SIZE this sends lays the controls out.
            ::SetWindowPos(Hwnd(), nullptr, 0, 0, snapped->width, snapped->height,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
    }
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    // "&Send Now" may be wider than designed, to fit its caption.
    RECT sendNow{};
    if (!m_send_nowD || !::GetWindowRect(m_send_nowD, &sendNow))
        sendNow = RECT{0, 0, ToPixels(kSendNowWidth), 0};
    const MainLayout layout = LayOut(Size{client.right, client.bottom}, ToPixels(kPanelHeight), StatusHeight(),
                                     sendNow.right - sendNow.left, ToPixels(kSendNowRightMargin));
    if (m_lista && m_lista->hwnd())
        ::MoveWindow(m_lista->hwnd(), layout.lista.left, layout.lista.top, layout.lista.width, layout.lista.height,
                     TRUE);
    if (m_status) {
        // Its text starts where the panel's "&Copy To" does.
        const int margin = ToPixels(120);
        ::MoveWindow(m_status, layout.status.left + margin, layout.status.top,
                     std::max(layout.status.width - 2 * margin, 0L), layout.status.height, TRUE);
    }
    if (m_pozadinaP.Hwnd())
        ::MoveWindow(m_pozadinaP.Hwnd(), layout.panel.left, layout.panel.top, layout.panel.width, layout.panel.height,
                     TRUE);
    if (m_send_nowD) {
        RECT button{};
        ::GetWindowRect(m_send_nowD, &button);
        ::MapWindowPoints(nullptr, m_pozadinaP.Hwnd(), reinterpret_cast<POINT*>(&button), 2);
        ::SetWindowPos(m_send_nowD, nullptr, layout.sendNowLeft, button.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT FerrylF::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED)
                ContinueOnError(L"WM_SIZE: Form_Resize", [&] { Form_Resize(); });
            return 0;
        case kListFullMessage:
            if (m_notListed > 0) {
                const long notListed = std::exchange(m_notListed, 0);
                ContinueOnError(L"ListFull: Inform", [&] { Inform(ListFullText(notListed), kWarningTitle); });
            }
            return 0;
        case kRedrawMessage:
            m_redrawDeferred = false;
            if (m_lista) {
                // Before painting resumes, so that the list scrolls and paints once.
                ContinueOnError(L"Redraw: ShowNewRows", [&] { ShowNewRows(); });
                ContinueOnError(L"Redraw", [&] { m_lista->Redraw(true); });
            }
            return 0;
        case kStatusMessage:
            ContinueOnError(L"UpdateStatusLine", [&] { UpdateStatusLine(); });
            return 0;
        case WM_TIMER:
            if (wParam != kDropTargetTimer)
                break;
            ::KillTimer(Hwnd(), kDropTargetTimer);
            ContinueOnError(L"RegisterDropTarget", [&] { RegisterDropTarget(); });
            return 0;
        case kDropMessage: {
            const std::vector<std::wstring> dropped = std::exchange(m_droppedFiles, {});
            ContinueOnError(L"Drop: AddPaths", [&] { AddPaths(dropped); });
            return 0;
        }
        case WM_CONTEXTMENU:
            // The list's, from the right button or from its keys; others go their way.
            if (m_lista && reinterpret_cast<HWND>(wParam) == m_lista->hwnd()) {
                const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ShowContextMenu(at.x == -1 && at.y == -1 ? std::nullopt : std::optional<POINT>(at));
                return 0;
            }
            break;
        case WM_INITMENUPOPUP:
            ContinueOnError(L"WM_INITMENUPOPUP", [&] { EnableFileCommands(reinterpret_cast<HMENU>(wParam)); });
            return 0;
        case WM_DESTROY:
            RevokeDropTarget();
            break;
        case DM_GETDEFID:
            // IsDialogMessageW asks which button Enter presses.
            return MAKELRESULT(kSendNowDId, DC_HASDEFID);
        case WM_DPICHANGED:
            if (lParam)
                ContinueOnError(L"WM_DPICHANGED: OnDpiChanged",
                                [&] { OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); });
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus && ::IsChild(Hwnd(), focus))
                    m_lastFocus = focus;
            }
            break;
        case WM_SETFOCUS:
            if (m_lastFocus && ::IsWindow(m_lastFocus))
                ::SetFocus(m_lastFocus);
            else if (m_lista && m_lista->hwnd())
                ::SetFocus(m_lista->hwnd());
            return 0;
        case WM_CLOSE:
            OnCloseAsked();
            return 0;
        case WM_ENDSESSION:
            if (wParam)
                EndSession();
            return 0;
        case kMapiDoneMessage:
            OnMapiSendDone();
            return 0;
        case kSendJobDoneMessage:
            OnSendJobDone();
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace ferryl
