#pragma once
// Texts Windows registers for programs (mail clients, App Paths), of the current user first and
// then of the machine.

#include <windows.h>

#include <optional>
#include <string>

namespace ferryl {

// The roots in the order they are asked.
inline const HKEY kUserThenMachine[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

// A REG_SZ or REG_EXPAND_SZ value, expanded; nothing when missing or empty. valueName null: the
// key's default value.
std::optional<std::wstring> ReadRegistryText(HKEY root, const std::wstring& subkey, const wchar_t* valueName);

}  // namespace ferryl
