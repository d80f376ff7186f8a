#include "mail/registry_text.h"

#include <algorithm>

namespace ferryl {

std::optional<std::wstring> ReadRegistryText(HKEY root, const std::wstring& subkey, const wchar_t* valueName) {
    // REG_EXPAND_SZ values come back expanded, as REG_SZ.
    constexpr DWORD kFlags = RRF_RT_REG_SZ;
    // The size the first call gives may fall short by the second: the value, or the environment a
    // REG_EXPAND_SZ expands, may change in between. ERROR_MORE_DATA gives the size needed then.
    constexpr int kAttempts = 4;
    DWORD bytes = 0;
    if (::RegGetValueW(root, subkey.c_str(), valueName, kFlags, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LONG status = ::RegGetValueW(root, subkey.c_str(), valueName, kFlags, nullptr, text.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            // bytes holds the size needed now; at least twice the room, should it say less.
            bytes = std::max(bytes, static_cast<DWORD>(text.size() * sizeof(wchar_t) * 2));
            continue;
        }
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        text.resize(std::wcslen(text.c_str()));
        if (text.empty())
            return std::nullopt;
        return text;
    }
    return std::nullopt;
}

}  // namespace ferryl
