#pragma once
// The last step of Send Now: the files handed to the mail program chosen, by the route its kind
// takes (its command line, the new Outlook's draft, or a Simple MAPI call).

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "mail/mail_target.h"
#include "mail/mapi_send.h"

namespace ferryl {

struct HandOffResult {
    std::wstring failure;                // why the files could not be handed over, in words
    std::unique_ptr<MapiSend> mapiSend;  // the Simple MAPI call that has them, still running
};

// Hands the files (full paths) over. A Simple MAPI call runs on: its end is posted to window as
// mapiDoneMessage, and the client's windows are owned by window.
HandOffResult HandOff(const MailTarget& target,
                      const std::vector<std::wstring>& paths,
                      HWND window,
                      UINT mapiDoneMessage);

// Whether the mail program reads the paths it is given in the ANSI code page: any other program
// on its command line, and a Simple MAPI client without MAPISendMailW. A client whose DLL cannot be
// loaded leaves the reason in failure.
bool ReadsAnsi(const MailTarget& target, std::wstring& failure);

// The 8.3 form of an existing path, or the path itself when the system has none to give (8.3 names
// switched off, a folder that may not be listed, a very long path): the file is still there and is
// passed in full (quoted where it holds a blank) rather than dropped or replaced by nothing. A path
// that does not exist gives the empty text.
std::wstring ShortPathOrFull(const std::wstring& path);

}  // namespace ferryl
