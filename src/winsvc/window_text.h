#pragma once
// A window's text (a control's caption or contents) as a wide string.

#include <windows.h>

#include <string>

namespace ferryl {

std::wstring WindowText(HWND window);

}  // namespace ferryl
