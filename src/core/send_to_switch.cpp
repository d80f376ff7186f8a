#include "core/send_to_switch.h"

#include "core/ascii_case.h"

namespace ferryl {

SendToSwitch SendToSwitchOf(std::wstring_view arguments) noexcept {
    const size_t first = arguments.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return SendToSwitch::None;
    const std::wstring_view word = arguments.substr(first, arguments.find_last_not_of(L' ') - first + 1);
    if (EqualsNoCase(word, std::wstring_view(L"/install")))
        return SendToSwitch::Install;
    if (EqualsNoCase(word, std::wstring_view(L"/uninstall")))
        return SendToSwitch::Uninstall;
    return SendToSwitch::None;
}

}  // namespace ferryl
