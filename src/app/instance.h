#pragma once
// Single-instance coordination across processes: a named mutex says an instance runs, a window
// property marks its receiving window, and a later instance hands its command line to that window
// in one WM_COPYDATA message.

#include <windows.h>

#include <string>
#include <string_view>

namespace ferryl {

// "_FerrylHandler__APPLICATION_MUTEX" and "_FerrylHandler__APPLICATION", each joined from two
// literals at run time.
std::wstring InstanceMutexName();
std::wstring InstanceMarkerName();
// "_FerrylHandler__NO_MUTEX": the second mark of a receiving window whose process does not hold
// the mutex (a start that no running instance answered in time).
std::wstring MutexlessMarkerName();

// Creates the instance mutex, kept in StartUp().InstanceMutex. False (and the handle just made
// closed) when it already existed; true otherwise, also when it could not be created.
bool IsFirstInstance(const std::wstring& mutexName);

// Searches the top-level windows for the marker; the first marked one goes to
// StartUp().RunningInstanceWindow (left as it is when none is found).
void FindRunningInstance();

// True when the window carries the marker with value 1.
bool IsInstanceWindow(HWND hwnd);

void MarkInstanceWindow(HWND hwnd);

// Restores a minimised window and brings it to the foreground.
void RestoreAndActivate(HWND hwnd);

// Closes StartUp().InstanceMutex when held.
void ReleaseInstanceMutex();

// For a receiver without the mutex: creates the mutex when no other process holds it any more.
// True when this process holds it now.
bool AdoptInstanceMutex();

// For a receiver without the mutex, whose mutex another process holds: whether another receiving
// window should serve later starts instead of this one, so that only one does. That is any other
// marked window whose process holds the mutex (it carries no MutexlessMarkerName mark), and of two
// without the mutex, the one of the lower process id.
bool AnotherReceiverServes(HWND own);

// Posted to a receiving window by a later start that kept its files in the spool folder: take
// them in.
inline constexpr UINT kTakeKeptHandoffsMessage = WM_APP + 30;

// How long a later start waits for the receiving window to take its command line.
inline constexpr UINT kHandoffTimeoutMs = 5000;

enum class SendResult {
    Delivered,  // the receiver's window procedure took the message
    TimedOut,   // it did not within the time-out: Wine throws the message away, Windows promises nothing
    Failed,     // the window is gone, or would not take it
};

// Sends the command line's argument part to a receiving window in one WM_COPYDATA message.
SendResult SendCommandLine(HWND receiver, std::wstring_view commandLine);

enum class HandoffResult {
    NoReceiver,  // none found, or it failed the send or was gone before it heard of kept files
    Delivered,   // it took the command line (an empty one: it was brought forward)
    Kept,        // it did not answer in time: the files wait for it in the spool folder
    NotKept,     // it did not answer in time, and the spool folder could not keep the files
};

// One attempt of a later instance: finds the running instance and sends it the command line, or,
// with an empty command line and a visible receiver, just brings that window forward. A receiver
// that does not answer in time gets the files through the spool folder.
HandoffResult HandOffToRunningInstance(std::wstring_view commandLine);

// How long a later instance keeps trying to reach the running one, which may still be starting
// (its receiving window not made yet) or closing (its mutex not released yet).
inline constexpr unsigned long kHandoffRetryMs = 5000;

enum class HandoffOutcome {
    HandedOver,    // the running instance has the command line, or its files wait for it in the spool
                   // folder
    NowFirst,      // the running instance ended meanwhile; this process holds the mutex now
    NoneAnswered,  // an instance holds the mutex but no receiver took the command line in time
    NotKept,       // the receiver was busy, and the spool folder could not keep the files for it
};

// A later instance's part of start-up: tries, for up to retryMs, to hand the command line over,
// and takes the instance mutex as soon as it has gone.
HandoffOutcome HandOffWithRetries(std::wstring_view commandLine, unsigned long retryMs = kHandoffRetryMs);
}  // namespace ferryl
