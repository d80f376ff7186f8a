#include "mail/mail_clients.h"

#include <windows.h>

#include <algorithm>

#include "common/text.h"
#include "common/unique_handle.h"
#include "mail/registry_text.h"

namespace ferryl {

namespace {

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
    for (HKEY root : kUserThenMachine) {
        for (const wchar_t* value : {L"DLLPathEx", L"DLLPath"}) {
            if (std::optional<std::wstring> dll = ReadRegistryText(root, subkey, value))
                return dll;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> DefaultMailClient() {
    for (HKEY root : kUserThenMachine) {
        std::optional<std::wstring> name = ReadRegistryText(root, kMailClientsKey, nullptr);
        if (name && MailClientDll(*name))
            return name;
    }
    return std::nullopt;
}

std::vector<MailClient> RegisteredMailClients() {
    std::vector<MailClient> clients;
    for (HKEY root : kUserThenMachine) {
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

}  // namespace ferryl
