#include "mail/mail_program_dialog.h"

#include <vector>

#include "common/continue_on_error.h"
#include "core/mail_kind.h"
#include "mail/mail_clients.h"
#include "mainwindow/resource.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

constexpr wchar_t kDefaultClientEntry[] = L"The default mail client, whichever it is";

class MailProgramDialog {
  public:
    MailProgramDialog(const std::wstring& currentSetting, const PickMailProgram& pickProgram)
        : m_current(currentSetting), m_pick(pickProgram) {}

    std::optional<MailProgramChoice> Show(HWND owner) {
        const INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIL_PROGRAM), owner,
                                                 &MailProgramDialog::Procedure, reinterpret_cast<LPARAM>(this));
        if (result != IDOK)
            return std::nullopt;
        return m_chosen;
    }

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG)
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<MailProgramDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        if (!self)
            return FALSE;
        // No exception leaves a dialog procedure; a failed message is not handled.
        INT_PTR handled = FALSE;
        ContinueOnError(L"MailProgramDialog", [&] { handled = self->Handle(dialog, message, wParam); });
        return handled;
    }

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam) {
        switch (message) {
            case WM_INITDIALOG:
                m_dialog = dialog;
                FillClients();
                ShowChoice(DescribeMailProgramSetting(m_current));
                // The list first: the keyboard chooses a client straight away.
                ::SetFocus(::IsWindowEnabled(Clients()) ? Clients() : ::GetDlgItem(dialog, IDC_MAIL_OTHER));
                return FALSE;
            case WM_COMMAND:
                OnCommand(LOWORD(wParam), HIWORD(wParam));
                return TRUE;
            default:
                return FALSE;
        }
    }

    HWND Clients() const { return ::GetDlgItem(m_dialog, IDC_MAIL_CLIENTS); }

    void ShowChoice(const std::wstring& text) { ::SetDlgItemTextW(m_dialog, IDC_MAIL_CHOICE, text.c_str()); }

    void FillClients() {
        const std::vector<MailClient> clients = RegisteredMailClients();
        const HWND list = Clients();
        if (clients.empty()) {
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"(No mail client is registered)"));
            ::EnableWindow(list, FALSE);
            return;
        }
        // First the setting "MAPI": whichever client is the default, now or later.
        m_entries.push_back({kDefaultClientEntry, L"MAPI"});
        for (const MailClient& client : clients)
            m_entries.push_back(
                {client.isDefault ? client.name + L" (default)" : client.name, NamedMapiSetting(client.name)});
        const MailProgramSetting current = ParseMailProgramSetting(m_current);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_entries[i].text.c_str()));
            const MailProgramSetting entry = ParseMailProgramSetting(m_entries[i].setting);
            if (entry.kind == current.kind &&
                (entry.kind != MailProgramSetting::Kind::NamedMapi || entry.text == current.text))
                ::SendMessageW(list, LB_SETCURSEL, i, 0);
        }
    }

    void OnCommand(int id, int code) {
        switch (id) {
            case IDC_MAIL_CLIENTS:
                if (code == LBN_SELCHANGE)
                    ChooseSelectedClient();
                else if (code == LBN_DBLCLK && ChooseSelectedClient())
                    ::EndDialog(m_dialog, IDOK);
                break;
            case IDC_MAIL_OTHER:
                if (code == BN_CLICKED)
                    ChooseOtherProgram();
                break;
            case IDOK:
            case IDCANCEL:
                ::EndDialog(m_dialog, id);
                break;
            default:
                break;
        }
    }

    bool ChooseSelectedClient() {
        const LRESULT index = ::SendMessageW(Clients(), LB_GETCURSEL, 0, 0);
        if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
            return false;
        m_chosen = MailProgramChoice{false, m_entries[static_cast<size_t>(index)].setting};
        ShowChoice(DescribeMailProgramSetting(m_chosen->text));
        return true;
    }

    void ChooseOtherProgram() {
        if (!m_pick)
            return;
        const std::optional<std::wstring> path = m_pick(m_dialog);
        if (!path)
            return;
        m_chosen = MailProgramChoice{true, *path};
        ::SendMessageW(Clients(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ShowChoice(*path);
        // The next Enter confirms the program just picked.
        ::SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_dialog, IDOK)), TRUE);
    }

    const std::wstring& m_current;
    const PickMailProgram& m_pick;
    // The list's entries and the setting each stands for.
    struct Entry {
        std::wstring text;
        std::wstring setting;
    };
    HWND m_dialog = nullptr;
    std::vector<Entry> m_entries;
    std::optional<MailProgramChoice> m_chosen;
};

}  // namespace

std::wstring DescribeMailProgramSetting(const std::wstring& setting) {
    const MailProgramSetting parsed = ParseMailProgramSetting(setting);
    switch (parsed.kind) {
        case MailProgramSetting::Kind::None:
            return L"None chosen: Send Now uses Eudora or the default mail client when there is one, else asks";
        case MailProgramSetting::Kind::DefaultMapi:
            return L"The default mail client (Simple MAPI)";
        case MailProgramSetting::Kind::NamedMapi:
            return parsed.text + L" (Simple MAPI)";
        case MailProgramSetting::Kind::Program:
            return LongPathName(parsed.text);
    }
    return setting;
}

std::optional<MailProgramChoice> ShowMailProgramDialog(HWND owner,
                                                       const std::wstring& currentSetting,
                                                       const PickMailProgram& pickProgram) {
    MailProgramDialog dialog(currentSetting, pickProgram);
    return dialog.Show(owner);
}

}  // namespace ferryl
