#pragma once
// InstanceF: the first instance's hidden receiving window. It carries the instance marker, takes
// WM_COPYDATA through the subclassing service, and passes every command line it gets, its own
// included, to the intake; and so the handoffs kept for it in the spool folder, at its load, when
// a later start tells it of them, and at every handoff. It owns the instance mutex and releases it
// when it unloads.
// A receiver loaded without the mutex (a start that no running instance answered in time) takes
// the mutex as soon as it is free, and leaves receiving to a receiver that holds it, so that later
// starts find one receiver.

#include <string_view>

#include "app/file_list_target.h"
#include "winsvc/subclass.h"
#include "winsvc/window.h"

namespace ferryl {

class InstanceF : public Window, public ISubclass {
  public:
    // The target may be missing: the intake then only brings this window forward.
    explicit InstanceF(FileListTarget* target = nullptr) noexcept : m_target(target) {}
    ~InstanceF() override;

    void SetFileListTarget(FileListTarget* target) noexcept { m_target = target; }

    // Creates the window hidden, attaches WM_COPYDATA, marks it, and takes the kept handoffs and
    // then commandLine into the list. False when the window cannot be created.
    bool Load(std::wstring_view commandLine) noexcept;
    // Detaches, releases the instance mutex and destroys the window; the marker goes with it. A
    // handoff still waiting in the thread's queue or in the spool folder is taken in first; when it
    // lists files, the window stays loaded (with them in the main window) instead. (Destroying the
    // object destroys the window without that, for the program's end.)
    void Unload() noexcept;
    bool Loaded() const noexcept { return Hwnd() != nullptr; }
    // While set, unloading posts WM_QUIT, which ends the message loop whatever dispatched the
    // unload (RunWhileLoaded sets it for its run).
    void QuitMessageLoopOnUnload(bool bQuit) noexcept { m_quitLoopOnUnload = bQuit; }

    // The command-line intake: brings this window forward, shows the main window and adds the files.
    void AddFilesFromCommandLine(std::wstring_view text) noexcept;

    // ISubclass: every attached message runs the window's own procedure afterwards.
    long MsgResponse() override { return ResponseCallAfter; }
    void MsgResponse(long) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

  private:
    // Unmarks, detaches, releases the mutex and destroys the window.
    void Destroy() noexcept;
    // Takes the handoffs kept in the spool folder into the list.
    void TakeInKept() noexcept;
    // Without the mutex: takes it once it is free, or stops receiving when another receiver serves.
    void SettleWithoutMutex() noexcept;
    void StopWaitingForMutex() noexcept;

    FileListTarget* m_target;
    bool m_attached = false;
    bool m_quitLoopOnUnload = false;
    bool m_unloading = false;
    bool m_withoutMutex = false;
    long m_filesTaken = 0;  // files the intake added, for Unload to see what came meanwhile
};

}  // namespace ferryl
