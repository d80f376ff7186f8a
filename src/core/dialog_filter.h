#pragma once
// Text rules of the common-dialog wrapper that need no window: the filter in the form the file
// dialogs expect, and the trimming of fixed-size result buffers.

#include <string>
#include <string_view>

namespace ferryl {

// "Text Files|*.txt|All Files|*.*" to the dialogs' form: every "|" a NUL, ending in two NULs.
std::wstring EncodeDialogFilter(std::wstring_view filter);

// The reverse: NULs back to "|", without the one or two that ended the text.
std::wstring DecodeDialogFilter(std::wstring_view stored);

// Cuts the text before its first NUL and removes leading and trailing blanks; writes the result
// back into the argument and returns it.
std::wstring NullTrim(std::wstring& text);

}  // namespace ferryl
