#include "winsvc/resource_dialog.h"

#include "common/continue_on_error.h"

namespace ferryl {

INT_PTR ResourceDialog::Run(HWND owner, int templateId, const wchar_t* name) {
    m_name = name;
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                             &ResourceDialog::Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ResourceDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG)
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<ResourceDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR handled = FALSE;
    ContinueOnError(self->m_name, [&] { handled = self->Handle(dialog, message, wParam, lParam); });
    return handled;
}

}  // namespace ferryl
