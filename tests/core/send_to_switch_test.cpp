#include "core/send_to_switch.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

TEST(SendToSwitch, CountsOnlyAsTheWholeArgumentPart) {
    const struct {
        const wchar_t* arguments;
        SendToSwitch expected;
    } cases[] = {
        {L"/install", SendToSwitch::Install},         {L"/UnInstall", SendToSwitch::Uninstall},
        {L"  /uninstall  ", SendToSwitch::Uninstall}, {L"", SendToSwitch::None},
        {L"/install C:\\a.txt", SendToSwitch::None},  {L"C:\\a.txt /uninstall", SendToSwitch::None},
        {L"\"/install\"", SendToSwitch::None},        {L"-install", SendToSwitch::None},
        {L"/installer", SendToSwitch::None},          {L"C:\\install", SendToSwitch::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SendToSwitchOf(c.arguments), c.expected) << c.arguments;
}

}  // namespace
}  // namespace ferryl
