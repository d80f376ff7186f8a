#pragma once
// The two functions of oleacc.dll the program calls, looked up on first use rather than imported:
// Active Accessibility is optional, and a delay-loaded import whose library or function cannot be
// had ends the program with a structured exception (0xC06D007E, 0xC06D007F), here on a
// WM_GETOBJECT that any process can send.

#include <oleacc.h>
#include <windows.h>

namespace ferryl {

// LresultFromObject; 0 (no object: the system's own answers) when oleacc.dll or it is missing.
LRESULT OleaccLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) noexcept;

// AccessibleObjectFromWindow; HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND), with *object cleared,
// when oleacc.dll or it is missing.
HRESULT OleaccAccessibleObjectFromWindow(HWND hwnd, DWORD objectId, REFIID riid, void** object) noexcept;

}  // namespace ferryl
