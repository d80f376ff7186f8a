#include "core/mapi_outcome.h"

#include <array>
#include <string_view>

namespace ferryl {

namespace {

constexpr unsigned long kSuccess = 0;
constexpr unsigned long kUserAbort = 1;
constexpr unsigned long kAttachmentNotFound = 11;
constexpr unsigned long kAttachmentOpenFailure = 12;

// The names of the Simple MAPI results, by value.
constexpr std::array<std::wstring_view, 29> kNames{
    L"SUCCESS_SUCCESS",
    L"MAPI_USER_ABORT",
    L"MAPI_E_FAILURE",
    L"MAPI_E_LOGON_FAILURE",
    L"MAPI_E_DISK_FULL",
    L"MAPI_E_INSUFFICIENT_MEMORY",
    L"MAPI_E_ACCESS_DENIED",
    L"",
    L"MAPI_E_TOO_MANY_SESSIONS",
    L"MAPI_E_TOO_MANY_FILES",
    L"MAPI_E_TOO_MANY_RECIPIENTS",
    L"MAPI_E_ATTACHMENT_NOT_FOUND",
    L"MAPI_E_ATTACHMENT_OPEN_FAILURE",
    L"MAPI_E_ATTACHMENT_WRITE_FAILURE",
    L"MAPI_E_UNKNOWN_RECIPIENT",
    L"MAPI_E_BAD_RECIPTYPE",
    L"MAPI_E_NO_MESSAGES",
    L"MAPI_E_INVALID_MESSAGE",
    L"MAPI_E_TEXT_TOO_LARGE",
    L"MAPI_E_INVALID_SESSION",
    L"MAPI_E_TYPE_NOT_SUPPORTED",
    L"MAPI_E_AMBIGUOUS_RECIPIENT",
    L"MAPI_E_MESSAGE_IN_USE",
    L"MAPI_E_NETWORK_FAILURE",
    L"MAPI_E_INVALID_EDITFIELDS",
    L"MAPI_E_INVALID_RECIPS",
    L"MAPI_E_NOT_SUPPORTED",
    L"MAPI_E_UNICODE_NOT_SUPPORTED",
    L"MAPI_E_ATTACHMENT_TOO_LARGE",
};

std::wstring ResultName(unsigned long result) {
    std::wstring name = L"MAPI error " + std::to_wstring(result);
    if (result < kNames.size() && !kNames[result].empty())
        name += L", " + std::wstring(kNames[result]);
    return name;
}

}  // namespace

MapiOutcome OutcomeOfMapiResult(unsigned long result) {
    if (result == kSuccess)
        return MapiOutcome::Sent;
    if (result == kUserAbort)
        return MapiOutcome::Cancelled;
    return MapiOutcome::Failed;
}

std::wstring MapiFailureText(unsigned long result) {
    std::wstring reason;
    switch (result) {
        case kAttachmentNotFound:
            reason = L"The mail client could not find an attachment.";
            break;
        case kAttachmentOpenFailure:
            reason = L"The mail client could not open an attachment.";
            break;
        default:
            reason = L"The mail client failed to create the message.";
            break;
    }
    return reason + L" (" + ResultName(result) + L")";
}

}  // namespace ferryl
