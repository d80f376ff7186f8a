#pragma once
// The errors MoskGrid raises: numbers, texts and the source "<executable>.MoskGrid".

#include <string>

#include "common/error.h"

namespace ferryl {

inline constexpr long kErrKeyInUse = 457;
inline constexpr long kErrNotSupported = 445;
// Object-defined 1049: also the sort object's "Invalid sort array index.".
inline constexpr long kErrGridObject = kObjectErrorBase | 1049;

inline constexpr const wchar_t* kTextSubscriptOutOfRange = L"Subscript out of range";
inline constexpr const wchar_t* kTextKeyInUse = L"This key is already associated with an element of this collection";
inline constexpr const wchar_t* kTextInvalidColumnIndex = L"Invalid Column Index";
inline constexpr const wchar_t* kTextInvalidRowIndex = L"Invalid Row Index";
inline constexpr const wchar_t* kTextInvalidRowSubscript = L"Invalid Row Subscript";
inline constexpr const wchar_t* kTextRowOutOfRange = L"Row subscript out of range";
inline constexpr const wchar_t* kTextNoColumns = L"Attempt to add rows with no columns.";
inline constexpr const wchar_t* kTextColumnOutOfRange = L"Column subscript out of range";
inline constexpr const wchar_t* kTextImageList =
    L"ImageList property expects ImageList object or long hImageList handle.";

// Raises `number` from the grid; an empty description takes the standard text of 9 and 457.
[[noreturn]] void RaiseGridError(long number, const std::wstring& description = {});

}  // namespace ferryl
