#include "common/byte_size.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "common/system_function.h"

namespace ferryl {

namespace {

// shlwapi, loaded on first use: importing it would load it into every later start, which only
// hands its files over.
HMODULE Shlwapi() {
    static const HMODULE shlwapi = [] {
        HMODULE module = ::GetModuleHandleW(L"shlwapi.dll");
        return module ? module : LoadSystemLibrary(L"shlwapi.dll");
    }();
    return shlwapi;
}

}  // namespace

std::wstring ByteSizeText(uint64_t bytes) {
    using FormatEx = HRESULT(WINAPI*)(ULONGLONG, int, PWSTR, UINT);
    using Format = PWSTR(WINAPI*)(LONGLONG, PWSTR, UINT);
    // Windows Vista and later round to the digits shown, as Explorer does; Wine has only the older one.
    static const auto formatEx = ExportedFunction<FormatEx>(Shlwapi(), "StrFormatByteSizeEx");
    static const auto format = ExportedFunction<Format>(Shlwapi(), "StrFormatByteSizeW");
    constexpr int kRoundToNearestDisplayedDigit = 1;
    wchar_t text[64]{};
    if (formatEx && SUCCEEDED(formatEx(bytes, kRoundToNearestDisplayedDigit, text, 64)))
        return text;
    if (format && format(static_cast<LONGLONG>(std::min<uint64_t>(bytes, LLONG_MAX)), text, 64))
        return text;
    return std::to_wstring(bytes) + L" bytes";
}

}  // namespace ferryl
