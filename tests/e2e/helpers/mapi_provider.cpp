// A stand-in Simple MAPI provider, registered as a mail client's DLL; built also with FERRYL_ANSI_ONLY,
// as an older client with only MAPISendMail. Beside itself it adds each call to "mapi_calls.txt",
// waits while "mapi_hold" is there without "mapi_release" (blocking, as such clients do), writes what
// it got to "mapi_record.txt" (UTF-16) and returns the number in "mapi_result.txt", or 0.

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

template <typename Message>
ULONG Record(const wchar_t* entry, ULONG_PTR uiParam, const Message* message, ULONG flags) {
    Write(L"mapi_calls.txt", std::wstring(entry) + L"\n", true);
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
