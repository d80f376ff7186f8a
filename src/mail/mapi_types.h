#pragma once
// Simple MAPI's message types, flags and entry points, declared here with the Windows SDK's
// layout. MinGW's mapi.h has no wide types, and the SDK's declares them only for Windows 8
// targets; declared in our own namespace, and without either header, they build with both
// compilers and cannot clash with a declaration of theirs.

#include <windows.h>

#include <cstddef>

namespace ferryl::mapi {

using LHANDLE = ULONG_PTR;
using FLAGS = ULONG;

inline constexpr FLAGS kLogonUi = 0x00000001;      // MAPI_LOGON_UI
inline constexpr FLAGS kDialog = 0x00000008;       // MAPI_DIALOG
inline constexpr ULONG kFailure = 2;               // MAPI_E_FAILURE
inline constexpr ULONG kAttachmentNotFound = 11;   // MAPI_E_ATTACHMENT_NOT_FOUND
inline constexpr ULONG kNotSupported = 26;         // MAPI_E_NOT_SUPPORTED
inline constexpr ULONG kUnicodeNotSupported = 27;  // MAPI_E_UNICODE_NOT_SUPPORTED

template <typename Text>
struct RecipDesc {
    ULONG ulReserved;
    ULONG ulRecipClass;
    Text lpszName;
    Text lpszAddress;
    ULONG ulEIDSize;
    PVOID lpEntryID;
};

template <typename Text>
struct FileDesc {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    Text lpszPathName;
    Text lpszFileName;
    PVOID lpFileType;
};

template <typename Text>
struct Message {
    ULONG ulReserved;
    Text lpszSubject;
    Text lpszNoteText;
    Text lpszMessageType;
    Text lpszDateReceived;
    Text lpszConversationID;
    FLAGS flFlags;
    RecipDesc<Text>* lpOriginator;
    ULONG nRecipCount;
    RecipDesc<Text>* lpRecips;
    ULONG nFileCount;
    FileDesc<Text>* lpFiles;
};

using MapiRecipDesc = RecipDesc<LPSTR>;
using MapiFileDesc = FileDesc<LPSTR>;
using MapiMessage = Message<LPSTR>;
using MapiRecipDescW = RecipDesc<PWSTR>;
using MapiFileDescW = FileDesc<PWSTR>;
using MapiMessageW = Message<PWSTR>;

// The SDK's sizes: natural alignment, pointers of the platform's width.
static_assert(sizeof(MapiFileDescW) == (sizeof(void*) == 8 ? 40 : 24));
static_assert(sizeof(MapiMessageW) == (sizeof(void*) == 8 ? 96 : 48));
static_assert(offsetof(MapiMessageW, lpFiles) == (sizeof(void*) == 8 ? 88 : 44));

using SendMailW =
    ULONG(WINAPI*)(LHANDLE session, ULONG_PTR uiParam, MapiMessageW* message, FLAGS flags, ULONG reserved);
using SendMailA = ULONG(WINAPI*)(LHANDLE session, ULONG_PTR uiParam, MapiMessage* message, FLAGS flags, ULONG reserved);

}  // namespace ferryl::mapi
