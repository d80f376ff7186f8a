#include "mail/mail_clients.h"

#include <windows.h>

#include <algorithm>

#include "common/text.h"
#include "common/unique_handle.h"

namespace ferryl {

namespace {

const HKEY kRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

// A REG_SZ or REG_EXPAND_SZ value, expanded; nothing when missing or empty.
std::optional<std::wstring> ReadText(HKEY root, const std::wstring& subkey, const wchar_t* valueName) {
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

std::vector<std::wstring> SubkeyNames(HKEY root, const wchar_t* subkey) {
    std::vector<std::wstring> names;
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, subkey, 0, KEY_ENUMERATE_SUB_KEYS, key.put()) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256]{};  // the longest key name the registry allows is 255 characters
        DWORD length = 256;
        const LONG status = ::RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ToUpper(a) == ToUpper(b);
}

}  // namespace

std::optional<std::wstring> MailClientDll(const std::wstring& name) {
    if (name.empty() || name.find(L'\\') != std::wstring::npos)
        return std::nullopt;
    const std::wstring subkey = std::wstring(kMailClientsKey) + L"\\" + name;
    for (HKEY root : kRoots) {
        for (const wchar_t* value : {L"DLLPathEx", L"DLLPath"}) {
            if (std::optional<std::wstring> dll = ReadText(root, subkey, value))
                return dll;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> DefaultMailClient() {
    for (HKEY root : kRoots) {
        std::optional<std::wstring> name = ReadText(root, kMailClientsKey, nullptr);
        if (name && MailClientDll(*name))
            return name;
    }
    return std::nullopt;
}

std::vector<MailClient> RegisteredMailClients() {
    std::vector<MailClient> clients;
    for (HKEY root : kRoots) {
        for (std::wstring& name : SubkeyNames(root, kMailClientsKey)) {
            const bool listed = std::any_of(clients.begin(), clients.end(),
                                            [&](const MailClient& client) { return SameName(client.name, name); });
            if (!listed && MailClientDll(name))
                clients.push_back({std::move(name), false});
        }
    }
    const std::optional<std::wstring> defaultName = DefaultMailClient();
    for (MailClient& client : clients)
        client.isDefault = defaultName && SameName(client.name, *defaultName);
    std::sort(clients.begin(), clients.end(),
              [](const MailClient& a, const MailClient& b) { return ToUpper(a.name) < ToUpper(b.name); });
    return clients;
}

std::wstring SystemMapiDll() {
    wchar_t folder[MAX_PATH]{};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return L"mapi32.dll";
    return std::wstring(folder, length) + L"\\mapi32.dll";
}

}  // namespace ferryl
