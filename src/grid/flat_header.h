#pragma once
// cFlatHeader: repaints the items of a header window flat, after the header painted itself.

#include <windows.h>

#include "winsvc/subclass.h"

namespace ferryl {

inline constexpr long kErrNoHeaderControl = 26020;

class cFlatHeader : public ISubclass {
  public:
    cFlatHeader() = default;
    ~cFlatHeader() override;
    cFlatHeader(const cFlatHeader&) = delete;
    cFlatHeader& operator=(const cFlatHeader&) = delete;

    // A header window itself, or a window with a header child. Raises 26020 when there is none.
    void Attach(HWND hwnd);
    void Detach() noexcept;
    HWND Attached() const noexcept { return m_hWnd; }

    long MsgResponse() override { return ResponseCallBefore; }
    void MsgResponse(long) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

  private:
    HWND m_hWnd = nullptr;
};

}  // namespace ferryl
