#include "winsvc/cmdlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/continue_on_error.h"
#include "common/error.h"
#include "common/module_path.h"
#include "common/unique_handle.h"
#include "core/dialog_filter.h"

namespace ferryl {

namespace {

constexpr wchar_t kCancelSource[] = L"Run-time error";
constexpr wchar_t kCancelDescription[] = L"Cancel was selected";
// Where the hook procedure finds its object: on the hook dialog, from WM_INITDIALOG on.
constexpr wchar_t kHookObjectProperty[] = L"Ferryl.cmDlg";

// A text argument the dialogs read as "not given" when empty: an empty caption or default
// extension would otherwise be taken literally.
const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

// A NUL-filled buffer of at least `size` characters that starts with `text`.
std::vector<wchar_t> Buffer(const std::wstring& text, size_t size) {
    std::vector<wchar_t> buffer(std::max(size, text.size() + 1), L'\0');
    std::copy(text.begin(), text.end(), buffer.begin());
    return buffer;
}

std::wstring Trimmed(const std::vector<wchar_t>& buffer) {
    std::wstring text(buffer.data(), buffer.size());
    return NullTrim(text);
}

int ScreenPixelsPerInchY() {
    const WindowDC screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

cmDlg::cmDlg(cmDlgEvents* events) : m_events(events), m_sInitDir(ProgramFolder()) {
    Filter(L"All Files|*.*");
    for (int i = 0; i < 16; ++i)
        m_customColors[static_cast<size_t>(i)] = ::GetSysColor(i);
}

std::wstring cmDlg::NullTrim(std::wstring& text) {
    return ferryl::NullTrim(text);
}

void cmDlg::Filter(std::wstring_view sFilter) {
    m_sFilter = EncodeDialogFilter(sFilter);
}

std::wstring cmDlg::Filter() const {
    return DecodeDialogFilter(m_sFilter);
}

long cmDlg::CustomColor(int index) const noexcept {
    if (index < 0 || index >= static_cast<int>(m_customColors.size()))
        return 0;
    return static_cast<long>(m_customColors[static_cast<size_t>(index)]);
}

void cmDlg::ShowOpen() {
    ShowFileDialog(false);
}

void cmDlg::ShowSave() {
    ShowFileDialog(true);
}

void cmDlg::ShowFileDialog(bool bSave) {
    std::vector<wchar_t> file = Buffer(m_sFileName, MAX_PATH + 1);
    std::vector<wchar_t> title = Buffer(m_sFileTitle, MAX_PATH);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_hwnd;
    ofn.lpstrFilter = m_sFilter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max<short>(m_iFilterIndex, 0));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size() - 1);
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
    ofn.lpstrInitialDir = OrNull(m_sInitDir);
    ofn.lpstrTitle = OrNull(m_sDialogTitle);
    ofn.Flags = m_lFlags;
    ofn.lpstrDefExt = OrNull(m_sDefaultExt);
    if (m_lFlags & OFN_ENABLEHOOK) {
        // A caller asking for the hook gets one that reaches DialogHookFunction; without a hook
        // procedure the dialog would refuse to open at all.
        ofn.lpfnHook = &cmDlg::FileHookProc;
        ofn.lCustData = reinterpret_cast<LPARAM>(this);
    }

    const BOOL chosen = bSave ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    ClearHookedDialog();
    if (!chosen) {
        OnDialogClosedWithoutChoice(bSave ? kErrSaveCancelled : kErrOpenCancelled, kCancelSource, kCancelDescription);
        return;
    }
    m_lFlags = ofn.Flags;
    m_sFileName = Trimmed(file);
    m_sFileTitle = Trimmed(title);
    m_iFileExt = static_cast<short>(ofn.nFileExtension);
    NullTrim(m_sInitDir);
    m_iFilterIndex = static_cast<short>(ofn.nFilterIndex);
    // The filter stays as the caller wrote it, so the object can show a second dialog alike.
}

void cmDlg::ShowFont() {
    unsigned long flags = m_lFlags;
    if (!(flags & CF_PRINTERFONTS))
        flags |= CF_SCREENFONTS;
    if (m_lFontColor > 0)
        flags |= CF_EFFECTS;
    if (m_lFontMinSize > 0 || m_lFontMaxSize > 0)
        flags |= CF_LIMITSIZE;
    flags |= CF_INITTOLOGFONTSTRUCT;
    flags &= ~static_cast<unsigned long>(CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_USESTYLE);
    m_lFlags = flags;

    LOGFONTW font{};
    const size_t nameLength = std::min<size_t>(m_font.Name.size(), LF_FACESIZE - 1);
    std::copy_n(m_font.Name.begin(), nameLength, font.lfFaceName);
    font.lfHeight = -static_cast<LONG>(std::lround(m_font.Size * ScreenPixelsPerInchY() / 72.0));
    font.lfWeight = m_font.Bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = m_font.Italic ? TRUE : FALSE;
    font.lfUnderline = m_font.Underline ? TRUE : FALSE;
    font.lfStrikeOut = m_font.Strikethrough ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;

    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = m_hwnd;
    cf.lpLogFont = &font;
    cf.iPointSize = static_cast<INT>(std::lround(m_font.Size * 10));
    cf.Flags = flags;
    cf.rgbColors = static_cast<COLORREF>(m_lFontColor);
    cf.nSizeMin = static_cast<INT>(m_lFontMinSize);
    cf.nSizeMax = static_cast<INT>(m_lFontMaxSize);

    if (!::ChooseFontW(&cf)) {
        OnDialogClosedWithoutChoice(kErrSaveCancelled, kCancelSource, kCancelDescription);
        return;
    }
    m_lFlags = cf.Flags;
    m_font.Name = font.lfFaceName;
    m_font.Size = cf.iPointSize / 10.0;
    m_font.Bold = font.lfWeight >= FW_BOLD;
    m_font.Italic = font.lfItalic != 0;
    m_font.Underline = font.lfUnderline != 0;
    m_font.Strikethrough = font.lfStrikeOut != 0;
    if (cf.Flags & CF_EFFECTS)
        m_lFontColor = static_cast<long>(cf.rgbColors);
}

void cmDlg::ShowColor() {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = m_hwnd;
    cc.rgbResult = static_cast<COLORREF>(m_lColor);
    cc.lpCustColors = m_customColors.data();
    cc.Flags = m_lFlags & ~static_cast<unsigned long>(CC_ENABLEHOOK | CC_ENABLETEMPLATE);
    if (::ChooseColorW(&cc)) {
        m_lColor = static_cast<long>(cc.rgbResult);
        return;
    }
    OnDialogClosedWithoutChoice(kErrColorCancelled, nullptr, L"Choose Color Dialog was canceled");
    m_lColor = -1;
}

bool cmDlg::ShowPrinter() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = m_hwnd;
    const BOOL confirmed = ::PrintDlgW(&pd);
    // The dialog hands back the chosen device's settings in global memory that is ours to free.
    UniqueGlobal devMode(pd.hDevMode);
    UniqueGlobal devNames(pd.hDevNames);
    UniqueMemoryDC printer(pd.hDC);
    if (!confirmed) {
        if (DWORD code = ::CommDlgExtendedError()) {
            m_lExtendedError = code;
            throw Error(static_cast<long>(code), ExecutableBaseName(), L"");
        }
        return false;
    }
    return true;
}

void cmDlg::OnDialogClosedWithoutChoice(long cancelNumber, const wchar_t* source, const wchar_t* description) {
    // The dialogs return 0 for a failure as well as for a cancel; only the extended error tells
    // them apart, and a failure must not pass for the user's cancel.
    if (DWORD code = ::CommDlgExtendedError()) {
        m_lExtendedError = code;
        throw Error(static_cast<long>(code), ExecutableBaseName(), L"");
    }
    if (m_bCancelError)
        throw Error(cancelNumber, source ? std::wstring(source) : ExecutableBaseName(), description);
}

std::wstring cmDlg::GetComDlgFileName(HWND hDlg) const {
    std::wstring path(MAX_PATH, L'\0');
    ::SendMessageW(::GetParent(hDlg), CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
    return NullTrim(path);
}

TaggedValue cmDlg::DialogHook(HWND hDlg, UINT msg, WPARAM /*wParam*/, LPARAM lParam) {
    cmDlgEvents none;
    cmDlgEvents& events = m_events ? *m_events : none;
    switch (msg) {
        case WM_INITDIALOG:
            events.InitDialog(hDlg);
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (!header)
                break;
            switch (header->code) {
                case CDN_SELCHANGE:
                    events.FileChange(hDlg);
                    break;
                case CDN_FOLDERCHANGE:
                    events.FolderChange(hDlg);
                    break;
                case CDN_TYPECHANGE:
                    events.TypeChange(hDlg);
                    break;
                case CDN_FILEOK:
                    ::SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);  // accept the name
                    break;
                default:
                    break;
            }
            break;
        }
        case WM_DESTROY:
            events.DialogClose();
            break;
        default:
            break;
    }
    return {};
}

long cmDlg::DialogHookFunction(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hookedDialog)
        return 0;
    return static_cast<long>(m_hookedDialog->DialogHook(hDlg, msg, wParam, lParam).ToNumber());
}

UINT_PTR CALLBACK cmDlg::FileHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        ::SetPropW(hDlg, kHookObjectProperty, reinterpret_cast<HANDLE>(ofn->lCustData));
    }
    // An error of the owner's handler must not unwind through the system's dialog code.
    UINT_PTR result = 0;
    ContinueOnError(L"cmDlg.DialogHook", [&] {
        if (auto* self = static_cast<cmDlg*>(::GetPropW(hDlg, kHookObjectProperty)))
            result = static_cast<UINT_PTR>(self->DialogHookFunction(hDlg, msg, wParam, lParam));
    });
    if (msg == WM_DESTROY)
        ::RemovePropW(hDlg, kHookObjectProperty);
    return result;
}

void cmDlg::CenterDialog(HWND hDlg, HWND centreOn) const {
    // The frame is the top-level window: with an Explorer-style hook hDlg is a child of it, with an
    // old-style hook hDlg is the frame itself, whose parent would be the owner.
    HWND frame = ::GetAncestor(hDlg, GA_ROOT);
    if (!frame)
        return;
    RECT dialog{};
    ::GetWindowRect(frame, &dialog);
    RECT target{};
    if (!centreOn || !::GetWindowRect(centreOn, &target))
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &target, 0);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    const int x = target.left + ((target.right - target.left) - width) / 2;
    const int y = target.top + ((target.bottom - target.top) - height) / 2;
    ::MoveWindow(frame, x, y, width, height, TRUE);
}

}  // namespace ferryl
