#include "winsvc/resource_dialog.h"

#include "common/continue_on_error.h"

namespace ferryl {

INT_PTR ResourceDialog::Run(HWND owner, int templateId, const wchar_t* name) {
    m_name = name;
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                             &ResourceDialog::Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ResourceDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<ResourceDialog*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<ResourceDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR handled = FALSE;
    ContinueOnError(self->m_name, [&] { handled = self->Dispatch(message, wParam, lParam); });
    return handled;
}

INT_PTR ResourceDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default:
            return Handle(message, wParam, lParam);
    }
}

}  // namespace ferryl
