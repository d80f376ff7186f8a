#pragma once
// The mail clients registered for Simple MAPI under Software\Clients\Mail, of the current user and
// of the machine: a client is a key whose DLLPath (or DLLPathEx) names its MAPI DLL, and the key's
// default value names the default client.

#include <optional>
#include <string>
#include <vector>

namespace ferryl {

inline constexpr wchar_t kMailClientsKey[] = L"Software\\Clients\\Mail";

struct MailClient {
    std::wstring name;
    bool isDefault = false;
};

// Every client with a MAPI DLL, by name, the default one marked.
std::vector<MailClient> RegisteredMailClients();

// The default client: the default value of Software\Clients\Mail of the current user, then of the
// machine, when it names a client with a MAPI DLL.
std::optional<std::wstring> DefaultMailClient();

// A client's MAPI DLL: DLLPathEx, else DLLPath, with environment strings expanded; nothing when
// the client is not registered or names no DLL.
std::optional<std::wstring> MailClientDll(const std::wstring& name);

}  // namespace ferryl
