#pragma once
// Simple MAPI's wide message types and entry points, declared here with the Windows SDK's layout:
// MinGW's mapi.h has only the ANSI ones, and the SDK's declares the wide ones only for Windows 8
// targets. In our namespace they cannot clash with either header.

#include <windows.h>
// After windows.h, which it needs.
#include <mapi.h>

#include <cstddef>

namespace ferryl::mapi {

struct MapiRecipDescW {
    ULONG ulReserved;
    ULONG ulRecipClass;
    PWSTR lpszName;
    PWSTR lpszAddress;
    ULONG ulEIDSize;
    PVOID lpEntryID;
};

struct MapiFileDescW {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    PWSTR lpszPathName;
    PWSTR lpszFileName;
    PVOID lpFileType;
};

struct MapiMessageW {
    ULONG ulReserved;
    PWSTR lpszSubject;
    PWSTR lpszNoteText;
    PWSTR lpszMessageType;
    PWSTR lpszDateReceived;
    PWSTR lpszConversationID;
    FLAGS flFlags;
    MapiRecipDescW* lpOriginator;
    ULONG nRecipCount;
    MapiRecipDescW* lpRecips;
    ULONG nFileCount;
    MapiFileDescW* lpFiles;
};

// The wide types differ from the ANSI ones only in their text pointers.
static_assert(sizeof(MapiMessageW) == sizeof(::MapiMessage));
static_assert(offsetof(MapiMessageW, lpFiles) == offsetof(::MapiMessage, lpFiles));
static_assert(offsetof(MapiMessageW, nRecipCount) == offsetof(::MapiMessage, nRecipCount));
static_assert(sizeof(MapiFileDescW) == sizeof(::MapiFileDesc));
static_assert(offsetof(MapiFileDescW, lpszFileName) == offsetof(::MapiFileDesc, lpszFileName));
static_assert(sizeof(MapiRecipDescW) == sizeof(::MapiRecipDesc));

using SendMailW =
    ULONG(WINAPI*)(LHANDLE session, ULONG_PTR uiParam, MapiMessageW* message, FLAGS flags, ULONG reserved);
using SendMailA =
    ULONG(WINAPI*)(LHANDLE session, ULONG_PTR uiParam, ::MapiMessage* message, FLAGS flags, ULONG reserved);

}  // namespace ferryl::mapi
