#pragma once
// Base of a modal dialog box made from the program's resources: the static dialog procedure finds
// the object through DWLP_USER (stored at WM_INITDIALOG) and forwards to Handle. No exception leaves
// the procedure: a message whose handling failed is recorded and counts as not handled.

#include <windows.h>

namespace ferryl {

class ResourceDialog {
  public:
    virtual ~ResourceDialog() = default;

  protected:
    // Shows the dialog of the template modally over owner; EndDialog's result, or -1 when the
    // dialog could not be made.
    INT_PTR Run(HWND owner, int templateId, const wchar_t* name);

    // Handles one message for the dialog; TRUE when handled, as a dialog procedure answers.
    virtual INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    const wchar_t* m_name = L"";
};

}  // namespace ferryl
