// A stand-in Simple MAPI provider for the tests, registered as a mail client's DLL. Built twice: with
// both entry points, and with FERRYL_ANSI_ONLY as an older client that has only MAPISendMail. It writes
// what it was given to "mapi_record.txt" beside itself (UTF-16: the entry point, the flags, the
// recipient count, the file count, then each file's path, name and position) and returns the
// number in "mapi_result.txt" (0 when there is none). While "mapi_hold" exists beside it, it waits
// for "mapi_release" first, without pumping messages, as a client that blocks does. Every call
// adds a line to "mapi_calls.txt" as it starts, and writes the DPI awareness of the thread that
// calls it (the DPI_AWARENESS number, -1 when the system cannot tell) to "mapi_thread.txt".

#include <windows.h>

#include <cstdlib>
#include <string>

#include "mail/mapi_types.h"

namespace {

HMODULE g_module = nullptr;

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH]{};
    std::wstring folder(path, ::GetModuleFileNameW(g_module, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

bool Exists(const wchar_t* name) {
    return ::GetFileAttributesW(Beside(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Write(const wchar_t* name, const std::wstring& text, bool append = false) {
    HANDLE file = ::CreateFileW(Beside(name).c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, 0, nullptr,
                                append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
}

ULONG ResultToReturn() {
    HANDLE file = ::CreateFileW(Beside(L"mapi_result.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    char text[16]{};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof text - 1, &read, nullptr);
    ::CloseHandle(file);
    return static_cast<ULONG>(std::strtoul(text, nullptr, 10));
}

std::wstring Text(const char* text) {
    if (!text)
        return L"(null)";
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
    return wide.c_str();
}

[[maybe_unused]] std::wstring Text(const wchar_t* text) {
    return text ? std::wstring(text) : L"(null)";
}

// What the calling thread's windows are scaled as.
int ThreadDpiAwareness() {
    using GetContextFn = void*(WINAPI*)();
    using AwarenessFn = int(WINAPI*)(void*);
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto getContext = reinterpret_cast<GetContextFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<AwarenessFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    return getContext && awareness ? awareness(getContext()) : -1;
}

template <typename Message>
ULONG Record(const wchar_t* entry, ULONG_PTR uiParam, const Message* message, ULONG flags) {
    Write(L"mapi_calls.txt", std::wstring(entry) + L"\n", true);
    Write(L"mapi_thread.txt", L"awareness=" + std::to_wstring(ThreadDpiAwareness()));
    for (int i = 0; i < 6000 && Exists(L"mapi_hold") && !Exists(L"mapi_release"); ++i)
        ::Sleep(10);
    std::wstring record = L"call=" + std::wstring(entry) + L"\nflags=" + std::to_wstring(flags) + L"\nparent=" +
                          (uiParam ? L"window" : L"none") + L"\nrecipients=" +
                          std::to_wstring(message ? message->nRecipCount : 0) + L"\nfiles=" +
                          std::to_wstring(message ? message->nFileCount : 0) + L"\n";
    for (ULONG i = 0; message && message->lpFiles && i < message->nFileCount; ++i) {
        const auto& file = message->lpFiles[i];
        record += L"file=" + Text(file.lpszPathName) + L"|" + Text(file.lpszFileName) + L"|" +
                  std::to_wstring(static_cast<long>(file.nPosition)) + L"\n";
    }
    // Written under another name first, so a test that sees the record sees all of it.
    Write(L"mapi_record.partial", record);
    ::MoveFileExW(Beside(L"mapi_record.partial").c_str(), Beside(L"mapi_record.txt").c_str(),
                  MOVEFILE_REPLACE_EXISTING);
    return ResultToReturn();
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_module = module;
    return TRUE;
}

#ifndef FERRYL_ANSI_ONLY
__declspec(dllexport) ULONG WINAPI MAPISendMailW(ferryl::mapi::LHANDLE,
                                                 ULONG_PTR uiParam,
                                                 ferryl::mapi::MapiMessageW* message,
                                                 ferryl::mapi::FLAGS flags,
                                                 ULONG) {
    return Record(L"MAPISendMailW", uiParam, message, flags);
}
#endif

__declspec(dllexport) ULONG WINAPI MAPISendMail(ferryl::mapi::LHANDLE,
                                                ULONG_PTR uiParam,
                                                ferryl::mapi::MapiMessage* message,
                                                ferryl::mapi::FLAGS flags,
                                                ULONG) {
    return Record(L"MAPISendMail", uiParam, message, flags);
}
}
