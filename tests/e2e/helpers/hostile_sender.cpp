// A process that sends the running instance's receiving window one WM_COPYDATA that no second
// start of the program makes: "hostile_sender BYTES TAG" sends BYTES bytes of one-letter tokens
// ("a a a ..." in ANSI for tag 0, in UTF-16 for tag 1) with the given tag, and waits up to a
// minute for the receiver to take it. Exit code 0 when the send returned, 1 when it failed or timed
// out, 2 when no receiver was found.

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

BOOL CALLBACK FindMarked(HWND hwnd, LPARAM found) noexcept {
    if (::GetPropW(hwnd, L"_FerrylHandler__APPLICATION") == reinterpret_cast<HANDLE>(1)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (__argc < 3)
        return 3;
    const size_t bytes = std::wcstoul(__wargv[1], nullptr, 10);
    const ULONG_PTR tag = std::wcstoul(__wargv[2], nullptr, 10);
    std::string payload;
    if (tag == 1) {
        std::wstring text(bytes / 2, L' ');
        for (size_t i = 0; i < text.size(); i += 2)
            text[i] = L'a';
        payload.assign(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    } else {
        payload.assign(bytes, ' ');
        for (size_t i = 0; i < payload.size(); i += 2)
            payload[i] = 'a';
    }
    HWND receiver = nullptr;
    ::EnumWindows(&FindMarked, reinterpret_cast<LPARAM>(&receiver));
    if (!receiver)
        return 2;
    COPYDATASTRUCT data{tag, static_cast<DWORD>(payload.size()), payload.data()};
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 60000, &result)
               ? 0
               : 1;
}
