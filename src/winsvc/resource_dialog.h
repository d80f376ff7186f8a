#pragma once
// Base of a modal dialog box made from the program's resources: the static dialog procedure finds
// the object through DWLP_USER (stored at WM_INITDIALOG) and forwards to its members. No exception
// leaves the procedure: a message whose handling failed is recorded and counts as not handled.

#include <windows.h>

namespace ferryl {

class ResourceDialog {
  public:
    virtual ~ResourceDialog() = default;

  protected:
    // Shows the dialog of the template modally over owner; EndDialog's result, or -1 when the
    // dialog could not be made.
    INT_PTR Run(HWND owner, int templateId, const wchar_t* name);

    // The dialog while it is shown.
    HWND Dialog() const noexcept { return m_dialog; }

    // WM_INITDIALOG: fills the controls; TRUE lets the system set the focus.
    virtual INT_PTR OnInitDialog() = 0;
    // WM_COMMAND from a control or a key.
    virtual void OnCommand(int id, int code) = 0;
    // Any other message; TRUE when handled, as a dialog procedure answers.
    virtual INT_PTR Handle(UINT, WPARAM, LPARAM) { return FALSE; }

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    const wchar_t* m_name = L"";
    HWND m_dialog = nullptr;
};

}  // namespace ferryl
