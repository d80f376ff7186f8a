#include "app/instance.h"

#include <gtest/gtest.h>

#include "app/instance_window.h"
#include "app/start_up_state.h"
#include "common/text.h"
#include "recording_target.h"
#include "support/temp_folder.h"

namespace ferryl::test {
namespace {

TEST(Instance, ReceiverTakesItsOwnAndForwardedCommandLines) {
    ASSERT_TRUE(IsFirstInstance(InstanceMutexName()));
    const HANDLE held = StartUp().InstanceMutex.get();
    ASSERT_NE(held, nullptr);
    EXPECT_FALSE(IsFirstInstance(InstanceMutexName())) << "the mutex exists now";
    EXPECT_EQ(StartUp().InstanceMutex.get(), held) << "the mutex held stays held";

    TempFolder folder;
    const std::wstring own = folder.WriteFile(L"own.txt");
    const std::wstring sent = folder.WriteFile(L"sent \u0436.txt");
    RecordingTarget target;
    {
        InstanceF receiver(&target);
        ASSERT_TRUE(receiver.Load(own));
        EXPECT_FALSE(::IsWindowVisible(receiver.Hwnd()));
        EXPECT_EQ(SendCommandLine(receiver.Hwnd(), L"\"" + sent + L"\""), SendResult::Delivered);
        EXPECT_EQ(target.Paths(), (std::vector<std::wstring>{own, sent}));
        // Another program's payload (an unknown tag) shows nothing; which payloads are refused is
        // the payload's core case.
        const int shown = target.shown;
        COPYDATASTRUCT data{2, 4, const_cast<char*>("C:\\x")};
        ::SendMessageW(receiver.Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        EXPECT_EQ(target.shown, shown);
        // A zero byte is part of the text, not its end: the file before it is not what it names.
        const std::string zero = ToAnsi(folder.WriteFile(L"zero.txt")) + std::string(1, '\0') + "junk";
        data = {0, static_cast<DWORD>(zero.size()), const_cast<char*>(zero.data())};
        ::SendMessageW(receiver.Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        EXPECT_EQ(target.Paths(), (std::vector<std::wstring>{own, sent}));
        EXPECT_FALSE(::IsWindowVisible(receiver.Hwnd()));

        receiver.Unload();
        EXPECT_FALSE(receiver.Loaded());
        EXPECT_FALSE(StartUp().InstanceMutex);
    }
    EXPECT_TRUE(IsFirstInstance(InstanceMutexName())) << "unloading released the mutex";
    ReleaseInstanceMutex();
}

}  // namespace
}  // namespace ferryl::test
