#include "common/byte_size.h"

#include <windows.h>

#include "common/system_function.h"

namespace ferryl {

namespace {

using FormatFn = PWSTR(WINAPI*)(LONGLONG, PWSTR, UINT);

// shlwapi's StrFormatByteSizeW, looked up from the system folder on first use: importing it would
// load shlwapi into every later start, which only hands its files over.
FormatFn FormatFunction() {
    static const FormatFn format = [] {
        wchar_t folder[MAX_PATH]{};
        const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return FormatFn{};
        return ExportedFunction<FormatFn>(::LoadLibraryW((std::wstring(folder, length) + L"\\shlwapi.dll").c_str()),
                                          "StrFormatByteSizeW");
    }();
    return format;
}

}  // namespace

std::wstring ByteSizeText(uint64_t bytes) {
    wchar_t text[64]{};
    if (const FormatFn format = FormatFunction();
        format && bytes <= static_cast<uint64_t>(INT64_MAX) && format(static_cast<LONGLONG>(bytes), text, 64))
        return text;
    return std::to_wstring(bytes) + L" bytes";
}

}  // namespace ferryl
