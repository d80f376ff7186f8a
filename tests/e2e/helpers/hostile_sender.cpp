// A process that sends the running instance's receiving window one WM_COPYDATA that no second
// start of the program makes: "hostile_sender BYTES TAG [TOKEN]" sends BYTES bytes of the token
// (one letter when not given) repeated with a blank after each ("a a a ..." in ANSI for tag 0, in
// UTF-16 for tag 1) with the given tag, and waits up to a minute for the receiver to take it. Exit code 0 when the send
// returned, 1 when it failed or timed out, 2 when no receiver was found.

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
    const std::wstring token = std::wstring(__argc > 3 ? __wargv[3] : L"a") + L" ";
    std::wstring text(tag == 1 ? bytes / 2 : bytes, L' ');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = token[i % token.size()];
    std::string payload;
    if (tag == 1) {
        payload.assign(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    } else {
        for (wchar_t c : text)
            payload.push_back(static_cast<char>(c));  // the tokens are ASCII
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
