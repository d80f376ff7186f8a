#include "mail/mapi_send.h"

#include <objbase.h>

#include <map>
#include <mutex>

#include "common/continue_on_error.h"
#include "common/system_error_text.h"
#include "common/system_function.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "core/path_rules.h"
#include "core/pe_machine.h"
#include "mail/ansi_path.h"

namespace ferryl {

namespace {

// How much of a DLL's start is read to find its PE header.
constexpr DWORD kHeadBytes = 4096;

std::string FileHead(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string head(kHeadBytes, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), head.data(), kHeadBytes, &read, nullptr))
        return {};
    head.resize(read);
    return head;
}

constexpr int kOwnBits = sizeof(void*) * 8;

}  // namespace

std::wstring WrongBitnessText(const std::wstring& dllPath) {
    const std::optional<uint16_t> machine = PeMachine(FileHead(dllPath));
    const int bits = machine ? MachineBits(*machine) : 0;
    if (bits == 0 || bits == kOwnBits)
        return {};
    return L"The mail client's DLL \"" + dllPath + L"\" is a " + std::to_wstring(bits) +
           L"-bit DLL, and Ferryl Handler is a " + std::to_wstring(kOwnBits) +
           L"-bit program, which cannot load it.\n\nInstall the " + std::to_wstring(kOwnBits) +
           L"-bit edition of the mail client, or choose its program with File > E-Mail Program.";
}

namespace {

// A bare DLL name is looked for in the system folder only, never beside the program or in the
// current folder, where anyone could have put a DLL of that name.
HMODULE LoadDll(const std::wstring& dllPath) {
    if (dllPath.find_first_of(L"\\/") == std::wstring::npos) {
        wchar_t folder[MAX_PATH]{};
        const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return nullptr;
        return ::LoadLibraryW((std::wstring(folder, length) + L"\\" + dllPath).c_str());
    }
    // The DLL's own folder first for the DLLs it depends on.
    return ::LoadLibraryExW(dllPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

struct LoadedDlls {
    std::mutex lock;
    std::map<std::wstring, HMODULE> modules;
};

LoadedDlls& Loaded() {
    static LoadedDlls* loaded = new LoadedDlls;  // never destroyed: the DLLs stay, see the header
    return *loaded;
}

ULONG CallWide(const MapiLibrary& library, const std::vector<MapiAttachment>& files, HWND uiParent) {
    std::vector<std::wstring> paths, names;
    for (const MapiAttachment& file : files) {
        paths.push_back(file.path);
        names.push_back(FileNameOf(file.path));
    }
    std::vector<mapi::MapiFileDescW> descriptors(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        descriptors[i].nPosition = static_cast<ULONG>(-1);
        descriptors[i].lpszPathName = paths[i].data();
        descriptors[i].lpszFileName = names[i].data();
    }
    mapi::MapiMessageW message{};
    message.nFileCount = static_cast<ULONG>(descriptors.size());
    message.lpFiles = descriptors.empty() ? nullptr : descriptors.data();
    return library.sendMailW(0, reinterpret_cast<ULONG_PTR>(uiParent), &message, kMapiSendFlags, 0);
}

ULONG CallAnsi(const MapiLibrary& library, const std::vector<MapiAttachment>& files, HWND uiParent) {
    std::vector<std::string> paths, names;
    for (const MapiAttachment& file : files) {
        const std::optional<std::wstring> path = AnsiCarriedPath(file.path);
        const std::optional<std::wstring> name = AnsiCarriedName(file.path);
        // The client would get "?" in the name, miss the file and still report success: it gets
        // no message that lacks one.
        if (!path || !name)
            return mapi::kAttachmentNotFound;
        paths.push_back(ToAnsi(*path));
        names.push_back(ToAnsi(*name));
    }
    std::vector<mapi::MapiFileDesc> descriptors(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        descriptors[i] = {};
        descriptors[i].nPosition = static_cast<ULONG>(-1);
        descriptors[i].lpszPathName = paths[i].data();
        descriptors[i].lpszFileName = names[i].data();
    }
    mapi::MapiMessage message{};
    message.nFileCount = static_cast<ULONG>(descriptors.size());
    message.lpFiles = descriptors.empty() ? nullptr : descriptors.data();
    return library.sendMailA(0, reinterpret_cast<ULONG_PTR>(uiParent), &message, kMapiSendFlags, 0);
}

}  // namespace

MapiLoad LoadMapiLibrary(const std::wstring& dllPath) {
    LoadedDlls& loaded = Loaded();
    std::lock_guard<std::mutex> guard(loaded.lock);
    HMODULE module = nullptr;
    if (auto found = loaded.modules.find(ToUpper(dllPath)); found != loaded.modules.end()) {
        module = found->second;
    } else {
        module = LoadDll(dllPath);
        if (!module) {
            const DWORD error = ::GetLastError();
            std::wstring failure = WrongBitnessText(dllPath);
            if (failure.empty())
                failure = L"The mail client's DLL \"" + dllPath + L"\" cannot be loaded.\n\n" + SystemErrorText(error);
            return {std::nullopt, failure};
        }
        loaded.modules.emplace(ToUpper(dllPath), module);
    }
    MapiLibrary library{dllPath, ExportedFunction<mapi::SendMailW>(module, "MAPISendMailW"),
                        ExportedFunction<mapi::SendMailA>(module, "MAPISendMail")};
    if (!library.sendMailW && !library.sendMailA)
        return {std::nullopt, L"The mail client's DLL \"" + dllPath + L"\" offers no Simple MAPI (MAPISendMail)."};
    return {library, {}};
}

ULONG CallMapiSendMail(const MapiLibrary& library, const std::vector<MapiAttachment>& files, HWND uiParent) {
    if (!library.sendMailW)
        return CallAnsi(library, files, uiParent);
    const ULONG result = CallWide(library, files, uiParent);
    // A client may export the wide entry and still refuse it; its ANSI one then takes the files.
    if ((result == mapi::kNotSupported || result == mapi::kUnicodeNotSupported) && library.sendMailA)
        return CallAnsi(library, files, uiParent);
    return result;
}

struct MapiSend::Call {
    MapiLibrary library;
    std::vector<MapiAttachment> files;
    HWND uiParent = nullptr;
    HWND notify = nullptr;
    UINT doneMessage = 0;
    ULONG result = mapi::kFailure;  // written before done is set
    std::atomic<bool> done{false};
};

namespace {

// The client's compose window is created on the call's thread, which inherits the program's
// per-monitor awareness; most clients are not per-monitor aware and would draw at 96 DPI, tiny on
// a scaled monitor. System awareness lets the system scale them. The function is missing before
// Windows 10 1607, so it is looked up.
void LetSystemScaleClientWindows() noexcept {
    using SetContextFn = void*(WINAPI*)(void*);
    if (auto setContext = User32Function<SetContextFn>("SetThreadDpiAwarenessContext")) {
        // DPI_AWARENESS_CONTEXT_SYSTEM_AWARE
        setContext(reinterpret_cast<void*>(static_cast<INT_PTR>(-2)));
    }
}

}  // namespace

std::unique_ptr<MapiSend> MapiSend::Start(const MapiLibrary& library,
                                          std::vector<MapiAttachment> files,
                                          HWND uiParent,
                                          HWND notify,
                                          UINT doneMessage) {
    std::unique_ptr<MapiSend> send(new MapiSend);
    send->m_call = std::make_shared<Call>();
    Call& call = *send->m_call;
    call.library = library;
    call.files = std::move(files);
    call.uiParent = uiParent;
    call.notify = notify;
    call.doneMessage = doneMessage;
    // The thread shares the call, so that it may outlive this object when the process ends first.
    send->m_thread = std::thread([shared = send->m_call] {
        LetSystemScaleClientWindows();
        // Clients use COM and show windows: a single-threaded apartment, pumped by their dialogs.
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // A client's C++ exception must not end the program; it counts as a failure.
        ULONG result = mapi::kFailure;
        ContinueOnError(L"MAPISendMail",
                        [&] { result = CallMapiSendMail(shared->library, shared->files, shared->uiParent); });
        if (SUCCEEDED(com))
            ::CoUninitialize();
        shared->result = result;
        shared->done = true;
        ::PostMessageW(shared->notify, shared->doneMessage, 0, 0);
    });
    return send;
}

bool MapiSend::Done() const noexcept {
    return m_call->done;
}

ULONG MapiSend::Result() const noexcept {
    return m_call->done ? m_call->result : mapi::kFailure;
}

MapiSend::~MapiSend() {
    if (!m_thread.joinable())
        return;
    if (m_call->done)
        m_thread.join();
    else
        m_thread.detach();
}

}  // namespace ferryl
