#include "mail/mail_program_dialog.h"

#include <utility>
#include <vector>

#include "common/unique_handle.h"
#include "core/ascii_case.h"
#include "core/mail_kind.h"
#include "mail/app_paths.h"
#include "mail/mail_clients.h"
#include "mainwindow/form_steps.h"
#include "mainwindow/resource.h"
#include "settings/funkcije.h"
#include "winsvc/resource_dialog.h"

namespace ferryl {

namespace {

// Posted to itself after a DPI change, once the system has scaled the dialog's font: the list's
// two-line entries are measured again.
constexpr UINT kMeasureEntriesMessage = WM_APP + 50;

// The limit field takes whole megabytes, at most this many digits.
constexpr int kLimitDigits = 6;

// What Send Now does with the files for a setting, in plain words.
std::wstring WhatHappens(const MailProgramSetting& setting) {
    switch (setting.kind) {
        case MailProgramSetting::Kind::None:
            return L"Uses Eudora when it is installed, else the default mail program";
        case MailProgramSetting::Kind::DefaultMapi:
            return L"Hands the files to the default mail program, whichever it is";
        case MailProgramSetting::Kind::NamedMapi:
            return L"Hands the files to " + setting.text;
        case MailProgramSetting::Kind::Program:
        case MailProgramSetting::Kind::RegisteredProgram:
            if (const KnownMailProgram* known = FindKnownMailProgram(LongPathName(setting.text)))
                return L"Opens a new message in " + std::wstring(known->displayName);
            return L"Starts the program with the files on its command line";
    }
    return {};
}

bool SameSetting(const MailProgramSetting& a, const MailProgramSetting& b) {
    return a.kind == b.kind && EqualsNoCase(a.text, b.text);
}

class MailProgramDialog : public ResourceDialog {
  public:
    MailProgramDialog(const std::wstring& currentSetting, long sizeLimitMB, const PickMailProgram& pickProgram)
        : m_current(currentSetting), m_sizeLimitMB(sizeLimitMB), m_pick(pickProgram) {}

    std::optional<MailProgramDialogResult> Show(HWND owner) {
        if (Run(owner, IDD_MAIL_PROGRAM, L"MailProgramDialog") != IDOK)
            return std::nullopt;
        return m_result;
    }

  private:
    INT_PTR OnInitDialog() override {
        MeasureEntries();
        FillEntries();
        ShowChoice(DescribeMailProgramSetting(m_current));
        ::SendDlgItemMessageW(Dialog(), IDC_MAIL_SIZE_LIMIT, EM_LIMITTEXT, kLimitDigits, 0);
        ::SetDlgItemInt(Dialog(), IDC_MAIL_SIZE_LIMIT, static_cast<UINT>(m_sizeLimitMB), FALSE);
        // The list first: the keyboard chooses an entry straight away.
        ::SetFocus(Entries());
        return FALSE;
    }

    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_DRAWITEM:
                if (wParam != IDC_MAIL_CLIENTS)
                    return FALSE;
                DrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            case WM_DPICHANGED:
                ::PostMessageW(Dialog(), kMeasureEntriesMessage, 0, 0);
                return FALSE;  // the system scales the dialog
            case kMeasureEntriesMessage:
                MeasureEntries();
                FitChoice();
                return TRUE;
            default:
                return FALSE;
        }
    }

    HWND Entries() const { return ::GetDlgItem(Dialog(), IDC_MAIL_CLIENTS); }
    HWND Choice() const { return ::GetDlgItem(Dialog(), IDC_MAIL_CHOICE); }

    void ShowChoice(const std::wstring& text) {
        ::SetWindowTextW(Choice(), text.c_str());
        FitChoice();
    }

    // The choice wraps in its box; a scroll bar comes only when its lines outgrow the box.
    void FitChoice() {
        const HWND choice = Choice();
        RECT client{};
        ::GetClientRect(choice, &client);
        const int lines = static_cast<int>(::SendMessageW(choice, EM_GETLINECOUNT, 0, 0));
        ::ShowScrollBar(choice, SB_VERT, lines * LineHeight(choice) > client.bottom);
    }

    static int LineHeight(HWND control) {
        WindowDC dc(control);
        const SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc.get(), &metrics);
        return metrics.tmHeight + metrics.tmExternalLeading;
    }

    // Each entry is two lines (its name in bold, what it does below), with half a line between
    // entries, at the font the dialog has now.
    void MeasureEntries() {
        const HWND list = Entries();
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
        LOGFONTW bold{};
        ::GetObjectW(font, sizeof bold, &bold);
        bold.lfWeight = FW_BOLD;
        m_boldFont.reset(::CreateFontIndirectW(&bold));
        const int line = LineHeight(list);
        ::SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(2 * line + line / 2, 0));
        ::InvalidateRect(list, nullptr, TRUE);
    }

    void FillEntries() {
        m_entries.push_back({L"Choose automatically", {}});
        const std::vector<MailClient> clients = RegisteredMailClients();
        if (!clients.empty())
            m_entries.push_back({L"Default mail program", L"MAPI"});
        for (const RegisteredProgram& program : RegisteredMailPrograms())
            m_entries.push_back({program.displayName, program.fileName});
        for (const MailClient& client : clients)
            m_entries.push_back(
                {client.isDefault ? client.name + L" (default)" : client.name, NamedMapiSetting(client.name)});
        const MailProgramSetting current = ParseMailProgramSetting(m_current);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            // The text screen readers read and typing searches: the name, then what it does.
            const std::wstring text = m_entries[i].title + L". " + m_entries[i].whatHappens + L".";
            ::SendMessageW(Entries(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            if (SameSetting(m_entries[i].Parsed(), current))
                ::SendMessageW(Entries(), LB_SETCURSEL, i, 0);
        }
    }

    void DrawEntry(const DRAWITEMSTRUCT& item) {
        if (item.itemID >= m_entries.size()) {
            if (item.itemState & ODS_FOCUS)
                ::DrawFocusRect(item.hDC, &item.rcItem);
            return;
        }
        const Entry& entry = m_entries[item.itemID];
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        ::SetBkMode(item.hDC, TRANSPARENT);
        const int line = (item.rcItem.bottom - item.rcItem.top) * 2 / 5;
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(item.hDC, &metrics);
        RECT text = item.rcItem;
        text.left += metrics.tmAveCharWidth;
        text.right -= metrics.tmAveCharWidth / 2;
        text.top += line / 4;
        text.bottom = text.top + line;
        constexpr UINT kFlags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER;
        {
            const SelectGuard bold(item.hDC, m_boldFont.get());
            ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            ::DrawTextW(item.hDC, entry.title.c_str(), -1, &text, kFlags);
        }
        ::OffsetRect(&text, 0, line);
        ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
        ::DrawTextW(item.hDC, entry.whatHappens.c_str(), -1, &text, kFlags);
        if (item.itemState & ODS_FOCUS)
            ::DrawFocusRect(item.hDC, &item.rcItem);
    }

    void OnCommand(int id, int code) override {
        switch (id) {
            case IDC_MAIL_CLIENTS:
                if (code == LBN_SELCHANGE)
                    ChooseSelectedEntry();
                else if (code == LBN_DBLCLK && ChooseSelectedEntry())
                    Confirm();
                break;
            case IDC_MAIL_OTHER:
                if (code == BN_CLICKED)
                    ChooseOtherProgram();
                break;
            case IDOK:
                Confirm();
                break;
            case IDCANCEL:
                ::EndDialog(Dialog(), IDCANCEL);
                break;
            default:
                break;
        }
    }

    bool ChooseSelectedEntry() {
        const LRESULT index = ::SendMessageW(Entries(), LB_GETCURSEL, 0, 0);
        if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
            return false;
        m_result.program = MailProgramChoice{false, m_entries[static_cast<size_t>(index)].setting};
        ShowChoice(DescribeMailProgramSetting(m_result.program->text));
        return true;
    }

    void ChooseOtherProgram() {
        if (!m_pick)
            return;
        const std::optional<std::wstring> path = m_pick(Dialog());
        if (!path)
            return;
        m_result.program = MailProgramChoice{true, *path};
        ::SendMessageW(Entries(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ShowChoice(DescribeMailProgramSetting(*path));
        // The next Enter confirms the program just picked.
        ::SendMessageW(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(Dialog(), IDOK)), TRUE);
    }

    // Ends the dialog with OK once the size limit reads as a whole number.
    void Confirm() {
        BOOL translated = FALSE;
        const UINT limit = ::GetDlgItemInt(Dialog(), IDC_MAIL_SIZE_LIMIT, &translated, FALSE);
        if (!translated) {
            ::MessageBoxW(Dialog(),
                          L"Enter the message size for the warning as a whole number of megabytes (MB). 0 turns the "
                          L"warning off.",
                          kWarningTitle, MB_OK | MB_ICONINFORMATION);
            const HWND field = ::GetDlgItem(Dialog(), IDC_MAIL_SIZE_LIMIT);
            ::SendMessageW(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
            return;
        }
        if (static_cast<long>(limit) != m_sizeLimitMB)
            m_result.sizeLimitMB = static_cast<long>(limit);
        ::EndDialog(Dialog(), IDOK);
    }

    // An entry of the list: its name and the setting it stands for.
    struct Entry {
        Entry(std::wstring titleText, std::wstring settingText)
            : title(std::move(titleText)), setting(std::move(settingText)), whatHappens(WhatHappens(Parsed())) {}

        std::wstring title;
        std::wstring setting;
        // In plain words, the entry's second line: worked out once, not at each paint, as it may
        // look the program's file up.
        std::wstring whatHappens;
        MailProgramSetting Parsed() const { return ParseMailProgramSetting(setting); }
    };

    const std::wstring& m_current;
    const long m_sizeLimitMB;
    const PickMailProgram& m_pick;
    UniqueFont m_boldFont;
    std::vector<Entry> m_entries;
    MailProgramDialogResult m_result;
};

}  // namespace

std::wstring DescribeMailProgramSetting(const std::wstring& setting) {
    const MailProgramSetting parsed = ParseMailProgramSetting(setting);
    std::wstring chosen;
    switch (parsed.kind) {
        case MailProgramSetting::Kind::None:
            chosen = L"Chosen automatically";
            break;
        case MailProgramSetting::Kind::DefaultMapi:
            chosen = L"The default mail program";
            break;
        case MailProgramSetting::Kind::NamedMapi:
            chosen = parsed.text;
            break;
        case MailProgramSetting::Kind::RegisteredProgram: {
            const KnownMailProgram* known = FindKnownMailProgram(parsed.text);
            chosen = (known ? std::wstring(known->displayName) : parsed.text) + L" (" + parsed.text +
                     L", wherever Windows has it installed)";
            break;
        }
        case MailProgramSetting::Kind::Program:
            chosen = LongPathName(parsed.text);
            break;
    }
    return chosen + L"\r\n" + WhatHappens(parsed) + L".";
}

std::optional<MailProgramDialogResult> ShowMailProgramDialog(HWND owner,
                                                             const std::wstring& currentSetting,
                                                             long sizeLimitMB,
                                                             const PickMailProgram& pickProgram) {
    MailProgramDialog dialog(currentSetting, sizeLimitMB, pickProgram);
    return dialog.Show(owner);
}

}  // namespace ferryl
