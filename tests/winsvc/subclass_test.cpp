#include "winsvc/subclass.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/continue_on_error.h"
#include "common/error.h"
#include "core/subclass_names.h"
#include "winsvc/window.h"

namespace ferryl {
namespace {

constexpr UINT kMsgA = WM_APP + 1;
constexpr UINT kMsgB = WM_APP + 2;
constexpr UINT kMsgUnattached = WM_APP + 3;

// The window's own procedure: logs "old" and answers 100 to the test messages.
class TargetWindow : public Window {
  public:
    explicit TargetWindow(std::vector<std::string>& log) : m_log(log) {
        RegisterWindowClass(L"FerrylSubclassTarget");
        CreateHandle(L"FerrylSubclassTarget", L"target", WS_OVERLAPPEDWINDOW);
    }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
        if (message >= kMsgA && message <= kMsgUnattached) {
            m_log.push_back("old");
            return 100 + static_cast<LRESULT>(wParam);
        }
        return Window::HandleMessage(message, wParam, lParam);
    }

  private:
    std::vector<std::string>& m_log;
};

// A client that logs its calls and, in the dispatch tests, every MsgResponse read, so that a call
// after it was detached or destroyed shows in the recorded sequence. Its WindowProc can call the
// previous procedure and run an action.
class Client : public ISubclass {
  public:
    Client(std::string name, long response, std::vector<std::string>& log, LRESULT result = 7, bool logsReads = false)
        : logReads(logsReads), m_name(std::move(name)), m_response(response), m_log(log), m_result(result) {}
    ~Client() override {
        if (attachedTo)
            DetachMessage(this, attachedTo, kMsgA);
    }
    void Attach(HWND hwnd) {
        AttachMessage(this, hwnd, kMsgA);
        attachedTo = hwnd;
    }
    void Detach() {
        DetachMessage(this, attachedTo, kMsgA);
        attachedTo = nullptr;
    }
    long MsgResponse() override {
        if (logReads)
            m_log.push_back(m_name + "?");
        return m_response;
    }
    void MsgResponse(long response) override { m_response = response; }
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override {
        m_log.push_back(m_name);
        seenCurrent = CurrentMessage();
        if (callOld)
            oldResult = CallOldWindowProc(hwnd, iMsg, wParam, lParam);
        if (action)
            action();
        return m_result;
    }
    std::function<void()> action;
    HWND attachedTo = nullptr;
    bool logReads = false;
    UINT seenCurrent = 0;
    bool callOld = false;
    LRESULT oldResult = 0;

  private:
    std::string m_name;
    long m_response;
    std::vector<std::string>& m_log;
    LRESULT m_result;
};

bool HasProp(HWND hwnd, const std::wstring& name) {
    return ::GetPropW(hwnd, name.c_str()) != nullptr;
}

std::intptr_t Prop(HWND hwnd, const std::wstring& name) {
    return reinterpret_cast<std::intptr_t>(::GetPropW(hwnd, name.c_str()));
}

class SubclassTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;
    TargetWindow window{log};
    HWND hwnd = window.Hwnd();
    std::intptr_t key = reinterpret_cast<std::intptr_t>(hwnd);
};

TEST_F(SubclassTest, ResponseKindsDecideWhenThePreviousProcedureRuns) {
    ASSERT_NE(hwnd, nullptr);
    // The last row's client reaches the previous procedure itself, through CallOldWindowProc.
    struct Case {
        long response;
        bool callOld;
        std::vector<std::string> order;
        LRESULT result;
    };
    const Case cases[] = {{ResponseConsume, false, {"client"}, 7},
                          {ResponseCallAfter, false, {"client", "old"}, 105},
                          {ResponseCallBefore, false, {"old", "client"}, 7},
                          {ResponseConsume, true, {"client", "old"}, 7}};
    for (const Case& c : cases) {
        Client client("client", c.response, log);
        client.callOld = c.callOld;
        AttachMessage(&client, hwnd, kMsgA);
        log.clear();
        EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 5, 0), c.result) << "response " << c.response;
        EXPECT_EQ(log, c.order) << "response " << c.response;
        EXPECT_EQ(client.seenCurrent, kMsgA);
        EXPECT_EQ(client.oldResult, c.callOld ? 105 : 0);
        DetachMessage(&client, hwnd, kMsgA);
    }
}

TEST_F(SubclassTest, ClientsRunInAttachmentOrderAndCloseUpOnDetach) {
    Client first("first", ResponseCallAfter, log, 1);
    Client second("second", ResponseConsume, log, 2);
    AttachMessage(&first, hwnd, kMsgA);
    AttachMessage(&second, hwnd, kMsgA);
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 0, 0), 2);  // only the last client's answer asks "after"
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));

    DetachMessage(&first, hwnd, kMsgA);
    EXPECT_EQ(Prop(hwnd, subclass_names::Client(key, kMsgA, 1)), reinterpret_cast<std::intptr_t>(&second));
    EXPECT_FALSE(HasProp(hwnd, subclass_names::Client(key, kMsgA, 2)));
    EXPECT_EQ(Prop(hwnd, subclass_names::ClientCount(key, kMsgA)), 1);
    log.clear();
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 0, 0), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"second"}));
    DetachMessage(&second, hwnd, kMsgA);
}

TEST_F(SubclassTest, LastDetachPutsThePreviousProcedureBack) {
    const LONG_PTR original = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    Client client("client", ResponseConsume, log);
    AttachMessage(&client, hwnd, kMsgA);
    AttachMessage(&client, hwnd, kMsgB);
    EXPECT_NE(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(Prop(hwnd, subclass_names::Window(key)), original);
    EXPECT_EQ(Prop(hwnd, subclass_names::WindowCount(key)), 2);

    // A message no client attached goes to the previous procedure with its result unchanged.
    EXPECT_EQ(::SendMessageW(hwnd, kMsgUnattached, 3, 0), 103);
    EXPECT_EQ(log, (std::vector<std::string>{"old"}));

    DetachMessage(&client, hwnd, kMsgA);
    EXPECT_NE(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    DetachMessage(&client, hwnd, kMsgB);
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_FALSE(HasProp(hwnd, subclass_names::Window(key)));
    EXPECT_FALSE(HasProp(hwnd, subclass_names::WindowCount(key)));
    log.clear();
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 1, 0), 101);
    EXPECT_EQ(log, (std::vector<std::string>{"old"}));
}

void ExpectError(const std::function<void()>& action, long number, const wchar_t* description) {
    try {
        action();
        ADD_FAILURE() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), number);
        EXPECT_EQ(error.Source(), ErrorSource(L"WindowProc"));
        EXPECT_EQ(error.Description(), description);
    }
}

TEST_F(SubclassTest, AttachRaisesItsErrorsAndChangesNothing) {
    Client client("client", ResponseConsume, log);
    ExpectError([&] { AttachMessage(&client, reinterpret_cast<HWND>(0x7654320), kMsgA); },
                static_cast<long>(0x8004331B), L"Invalid window");

    HWND desktop = ::GetDesktopWindow();
    DWORD desktopProcess = 0;
    ::GetWindowThreadProcessId(desktop, &desktopProcess);
    ASSERT_NE(desktopProcess, ::GetCurrentProcessId());
    ExpectError([&] { AttachMessage(&client, desktop, kMsgA); }, static_cast<long>(0x8004331C),
                L"Can't modify external window");

    AttachMessage(&client, hwnd, kMsgA);
    ExpectError([&] { AttachMessage(&client, hwnd, kMsgA); }, static_cast<long>(0x8004331A),
                L"Message already handled by another class");
    EXPECT_EQ(Prop(hwnd, subclass_names::WindowCount(key)), 1);
    EXPECT_EQ(Prop(hwnd, subclass_names::ClientCount(key, kMsgA)), 1);
    DetachMessage(&client, hwnd, kMsgA);
    EXPECT_FALSE(HasProp(hwnd, subclass_names::WindowCount(key)));
}

TEST_F(SubclassTest, DetachingWhatIsNotAttachedKeepsTheBookkeeping) {
    Client attached("attached", ResponseConsume, log);
    Client stranger("stranger", ResponseConsume, log);
    AttachMessage(&attached, hwnd, kMsgA);
    DetachMessage(&stranger, hwnd, kMsgA);
    DetachMessage(&attached, hwnd, kMsgB);
    EXPECT_EQ(Prop(hwnd, subclass_names::WindowCount(key)), 1);
    EXPECT_EQ(Prop(hwnd, subclass_names::ClientCount(key, kMsgA)), 1);
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 0, 0), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"attached"}));
    DetachMessage(&attached, hwnd, kMsgA);
    EXPECT_FALSE(HasProp(hwnd, subclass_names::Window(key)));
}

using Log = std::vector<std::string>;

TEST_F(SubclassTest, AClientThatDetachesItselfIsNotAskedAgainAndTheNextStillRuns) {
    Client first("first", ResponseCallAfter, log, 1, true);
    Client second("second", ResponseConsume, log, 2, true);
    first.Attach(hwnd);
    second.Attach(hwnd);
    first.action = [&] { first.Detach(); };
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 0, 0), 2);
    EXPECT_EQ(log, (Log{"first?", "first", "second?", "second", "second?"}));

    // Alone now, it detaches itself too: the answer it gave before its call still brings the
    // previous procedure in after it, and it is not asked again.
    log.clear();
    second.MsgResponse(ResponseCallAfter);
    second.action = [&] { second.Detach(); };
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 4, 0), 104);
    EXPECT_EQ(log, (Log{"second?", "second", "old"}));
    EXPECT_FALSE(HasProp(hwnd, subclass_names::Window(key)));
}

TEST_F(SubclassTest, AClientDetachedOrDestroyedByAnotherIsNotCalled) {
    Client first("first", ResponseCallAfter, log, 1, true);
    auto second = std::make_unique<Client>("second", ResponseConsume, log, 2, true);
    Client third("third", ResponseConsume, log, 3, true);
    first.Attach(hwnd);
    second->Attach(hwnd);
    third.Attach(hwnd);
    first.action = [&] { second->Detach(); };
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 0, 0), 3);
    EXPECT_EQ(log, (Log{"first?", "first", "third?", "third", "third?"}));

    // The last one gone, the first is the last left: its answer decides on the previous procedure.
    log.clear();
    first.action = [&] { third.Detach(); };
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 5, 0), 105);
    EXPECT_EQ(log, (Log{"first?", "first", "first?", "old"}));

    // Destroyed (its destructor detaches, as a client must) during the same message.
    log.clear();
    second->Attach(hwnd);
    third.Attach(hwnd);
    first.action = [&] { second.reset(); };
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 0, 0), 3);
    EXPECT_EQ(log, (Log{"first?", "first", "third?", "third", "third?"}));
}

TEST_F(SubclassTest, AWindowDestroyedDuringDispatchTakesNoFurtherCalls) {
    Client first("first", ResponseCallAfter, log, 1, true);
    Client second("second", ResponseCallAfter, log, 2, true);
    first.Attach(hwnd);
    second.Attach(hwnd);
    first.action = [&] { ::DestroyWindow(hwnd); };
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 0, 0), 1);
    EXPECT_EQ(log, (Log{"first?", "first"}));
    EXPECT_FALSE(::IsWindow(hwnd));
    first.attachedTo = second.attachedTo = nullptr;  // the bookkeeping went with the window
}

// A client that fails: its failure stops at the shared procedure, which records it and answers 0.
class FailingClient : public ISubclass {
  public:
    long MsgResponse() override { return ResponseCallBefore; }
    void MsgResponse(long) override {}
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override {
        throw Error(kErrSubscriptOutOfRange, ErrorSource(L"Client"), L"Subscript out of range");
    }
};

TEST_F(SubclassTest, AClientsFailureIsRecordedAndGoesNoFurther) {
    FailingClient failing;
    AttachMessage(&failing, hwnd, kMsgA);
    ClearFailures();
    EXPECT_EQ(::SendMessageW(hwnd, kMsgA, 1, 0), 0);
    EXPECT_EQ(log, std::vector<std::string>{"old"}) << "the previous procedure ran before the client";
    const std::vector<FailureRecord> failures = RecentFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].step, L"ISubclass.WindowProc");
    EXPECT_EQ(failures[0].number, kErrSubscriptOutOfRange);
    EXPECT_EQ(failures[0].source, L"winsvc_tests.Client");
    DetachMessage(&failing, hwnd, kMsgA);
    ClearFailures();
}

}  // namespace
}  // namespace ferryl
