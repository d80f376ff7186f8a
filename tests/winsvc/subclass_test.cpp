// The window base and message subclassing, on real windows.

#include "winsvc/subclass.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/continue_on_error.h"
#include "common/error.h"
#include "winsvc/window.h"

namespace ferryl {
namespace {

constexpr UINT kMsgA = WM_APP + 1;
using Log = std::vector<std::string>;
using Sent = std::pair<LRESULT, Log>;  // a message's result, and what ran for it

// A window of the window base: its own procedure logs "old" and answers 100 + wParam to kMsgA, and
// it notes its end.
struct TargetWindow : Window {
    explicit TargetWindow(Log& log) : log(log) {
        RegisterWindowClass(L"FerrylSubclassTarget");
        CreateHandle(L"FerrylSubclassTarget", L"target", WS_OVERLAPPEDWINDOW);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message != kMsgA)
            return Window::HandleMessage(message, wParam, lParam);
        log.push_back("old");
        return 100 + static_cast<LRESULT>(wParam);
    }
    void OnDestroyed() noexcept override { destroyed = true; }
    Log& log;
    bool destroyed = false;
};

// A client of kMsgA that logs its calls and each read of its response ("name?"), so that a call after
// it went shows; it runs an action in its WindowProc, and detaches when destroyed, as a client must.
struct Client : ISubclass {
    Client(std::string name, long response, Log& log, LRESULT result = 7)
        : name(std::move(name)), response(response), log(log), result(result) {}
    ~Client() override { Detach(); }
    void Attach(HWND hwnd) { AttachMessage(this, attachedTo = hwnd, kMsgA); }
    void Detach() { DetachMessage(this, std::exchange(attachedTo, nullptr), kMsgA); }
    long MsgResponse() override {
        log.push_back(name + "?");
        return response;
    }
    void MsgResponse(long value) override { response = value; }
    LRESULT WindowProc(HWND, UINT iMsg, WPARAM, LPARAM) override {
        log.push_back(name);
        EXPECT_EQ(CurrentMessage(), iMsg);
        if (action)
            action();
        return result;
    }
    std::string name;
    long response;
    Log& log;
    LRESULT result;
    std::function<void()> action;
    HWND attachedTo = nullptr;
};

class SubclassTest : public ::testing::Test {
  protected:
    Sent Send(WPARAM wParam = 0) {
        log.clear();
        const LRESULT result = ::SendMessageW(hwnd, kMsgA, wParam, 0);
        return {result, log};
    }

    Log log;
    TargetWindow window{log};
    HWND hwnd = window.Hwnd();
};

TEST_F(SubclassTest, TheResponseKindDecidesWhenThePreviousProcedureRunsAndWhoseResultCounts) {
    const struct {
        long response;
        bool callOld;  // the client reaches the previous procedure itself
        Sent sent;
    } cases[] = {{ResponseConsume, false, {7, {"c?", "c", "c?"}}},
                 {ResponseCallAfter, false, {105, {"c?", "c", "c?", "old"}}},
                 {ResponseCallBefore, false, {7, {"c?", "old", "c", "c?"}}},
                 {ResponseConsume, true, {7, {"c?", "c", "old", "old gave 105", "c?"}}}};
    for (const auto& c : cases) {
        Client client("c", c.response, log);
        if (c.callOld)
            client.action = [&] { log.push_back("old gave " + std::to_string(CallOldWindowProc(hwnd, kMsgA, 5, 0))); };
        client.Attach(hwnd);
        EXPECT_EQ(Send(5), c.sent) << c.response;
    }
}

TEST_F(SubclassTest, ClientsRunInOrderDetachingClosesUpAndTheLastDetachPutsTheProcedureBack) {
    const LONG_PTR original = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    Client first("first", ResponseCallAfter, log, 1), second("second", ResponseConsume, log, 2), stranger("x", 0, log);
    first.Attach(hwnd);
    second.Attach(hwnd);
    EXPECT_EQ(Send(), (Sent{2, {"first?", "first", "second?", "second", "second?"}}))
        << "only the last client's answer asks for the previous procedure";
    DetachMessage(&stranger, hwnd, kMsgA);  // not attached: nothing changes
    first.Detach();
    EXPECT_EQ(Send(), (Sent{2, {"second?", "second", "second?"}}));
    second.Detach();
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(Send(1), (Sent{101, {"old"}}));
    HWND other = nullptr;
    {
        TargetWindow owned(log);
        other = owned.Hwnd();
    }
    EXPECT_FALSE(::IsWindow(other)) << "the window base's object takes its window along";
}

TEST_F(SubclassTest, AttachRaisesItsErrorsAndChangesNothingAndAClientsFailureGoesNoFurther) {
    Client client("c", ResponseConsume, log);
    client.Attach(hwnd);
    for (const auto& [target, number] : {std::pair{reinterpret_cast<HWND>(0x7654320), kErrInvalidWindow},
                                         {::GetDesktopWindow(), kErrExternalWindow},  // another process's
                                         {hwnd, kErrAlreadyHandled}}) {
        try {
            AttachMessage(&client, target, kMsgA);
            ADD_FAILURE() << number << " not raised";
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), kObjectErrorBase | number);
        }
    }
    EXPECT_EQ(Send(), (Sent{7, {"c?", "c", "c?"}})) << "called once, as before";

    // A client that fails: its failure stops at the shared procedure, which records it and answers 0.
    client.MsgResponse(ResponseCallBefore);
    client.action = [] { throw Error(9, ErrorSource(L"Client"), L"failed"); };
    ClearFailures();
    EXPECT_EQ(Send(1), (Sent{0, {"c?", "old", "c"}}));
    ASSERT_EQ(RecentFailures().size(), 1u);
    EXPECT_EQ(RecentFailures()[0].step, L"ISubclass.WindowProc");
    EXPECT_EQ(RecentFailures()[0].source, L"winsvc_tests.Client");
    ClearFailures();
}

TEST_F(SubclassTest, ClientsDetachedOrDestroyedDuringADispatchAreNotCalledAgain) {
    Client first("first", ResponseCallAfter, log, 1);
    auto second = std::make_unique<Client>("second", ResponseConsume, log, 2);
    Client third("third", ResponseConsume, log, 3);
    first.Attach(hwnd);
    second->Attach(hwnd);
    third.Attach(hwnd);
    first.action = [&] { second->Detach(); };
    EXPECT_EQ(Send(), (Sent{3, {"first?", "first", "third?", "third", "third?"}}));
    second->Attach(hwnd);
    first.action = [&] { second.reset(); };
    EXPECT_EQ(Send(), (Sent{3, {"first?", "first", "third?", "third", "third?"}}));
    // The last one gone, the first is the last left: its answer decides on the previous procedure.
    first.action = [&] { third.Detach(); };
    EXPECT_EQ(Send(5), (Sent{105, {"first?", "first", "first?", "old"}}));
    // Alone, it detaches itself: the answer it gave before still brings the previous procedure in.
    first.action = [&] { first.Detach(); };
    EXPECT_EQ(Send(4), (Sent{104, {"first?", "first", "old"}}));
    // A window destroyed during the dispatch takes no further calls.
    first.Attach(hwnd);
    third.Attach(hwnd);
    first.action = [&] { ::DestroyWindow(hwnd); };
    EXPECT_EQ(Send(), (Sent{1, {"first?", "first"}}));
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.Hwnd(), nullptr) << "the window base lets go of the handle";
    first.attachedTo = third.attachedTo = nullptr;  // the bookkeeping went with the window
}

}  // namespace
}  // namespace ferryl
