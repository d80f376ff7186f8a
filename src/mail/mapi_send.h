#pragma once
// Simple MAPI's MAPISendMail: the files handed to a mail client's compose window, no recipients.
// The call returns only when the user closes that window, so it runs on a thread of its own and
// the program's window keeps painting meanwhile; the end is posted back as a message.

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "mail/mapi_types.h"

namespace ferryl {

struct MapiLibrary {
    std::wstring dllPath;
    mapi::SendMailW sendMailW = nullptr;  // preferred: long paths in full
    mapi::SendMailA sendMailA = nullptr;  // for older clients: paths the ANSI code page carries
};

struct MapiLoad {
    std::optional<MapiLibrary> library;
    std::wstring failure;  // why it could not be loaded, in words, when library is empty
};

// Loads a MAPI DLL and finds its entry points. A DLL of the wrong bitness is named as such. A
// loaded DLL stays loaded for the life of the process: clients leave threads and hooks behind
// that would run into an unloaded DLL.
MapiLoad LoadMapiLibrary(const std::wstring& dllPath);

// Why a DLL cannot be loaded into this program because of its bitness (a 32-bit DLL in a 64-bit
// program), in words; empty when its bitness fits or cannot be told.
std::wstring WrongBitnessText(const std::wstring& dllPath);

struct MapiAttachment {
    std::wstring path;  // the full long path
};

// The flags of the call: the client's compose window, with a logon dialog if it needs one.
inline constexpr ULONG kMapiSendFlags = mapi::kDialog | mapi::kLogonUi;

class MapiSend {
  public:
    // Starts the call; when it returns, doneMessage is posted to notify. uiParent owns the client's
    // windows.
    static std::unique_ptr<MapiSend> Start(const MapiLibrary& library,
                                           std::vector<MapiAttachment> files,
                                           HWND uiParent,
                                           HWND notify,
                                           UINT doneMessage);
    // Waits for a call that has ended; one still running (the process is ending) is left to run.
    ~MapiSend();
    MapiSend(const MapiSend&) = delete;
    MapiSend& operator=(const MapiSend&) = delete;

    // True once the call has returned. The done message alone does not say so: any process can
    // post a message of that number.
    bool Done() const noexcept;
    // The call's result, once Done.
    ULONG Result() const noexcept;

  private:
    struct Call;
    MapiSend() = default;
    std::shared_ptr<Call> m_call;
    std::thread m_thread;
};

// Runs the call on the calling thread and returns its result. (MapiSend's thread runs this.) The
// wide entry gets the long paths; a client without it, or one that answers it with
// MAPI_E_NOT_SUPPORTED or MAPI_E_UNICODE_NOT_SUPPORTED, gets the ANSI call, each path and name as
// AnsiCarriedPath and AnsiCarriedName give it. A file that no ANSI path carries fails the call
// with MAPI_E_ATTACHMENT_NOT_FOUND before the client sees it.
ULONG CallMapiSendMail(const MapiLibrary& library, const std::vector<MapiAttachment>& files, HWND uiParent);

}  // namespace ferryl
