#include "registry_override.h"

#include "common/unique_handle.h"

namespace ferryl::test {

RegistryValueOverride::RegistryValueOverride(std::wstring subkey, std::wstring name, const std::wstring& value)
    : m_subkey(std::move(subkey)), m_name(std::move(name)) {
    // The outermost key that does not exist yet is the one to remove afterwards.
    for (size_t end = 0; end != std::wstring::npos && m_createdKey.empty();) {
        end = m_subkey.find(L'\\', end + 1);
        std::wstring prefix = m_subkey.substr(0, end);
        UniqueRegKey probe;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, prefix.c_str(), 0, KEY_READ, probe.put()) != ERROR_SUCCESS)
            m_createdKey = prefix;
    }
    UniqueRegKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, m_subkey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(),
                      nullptr);
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), m_name.c_str(), nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
        m_data.resize(size);
        m_existed =
            ::RegQueryValueExW(key.get(), m_name.c_str(), nullptr, &m_type, m_data.data(), &size) == ERROR_SUCCESS;
    }
    ::RegSetValueExW(key.get(), m_name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

RegistryValueOverride::~RegistryValueOverride() {
    if (!m_createdKey.empty()) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_createdKey.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, m_createdKey.c_str());
        return;
    }
    UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, m_subkey.c_str(), 0, KEY_WRITE, key.put()) != ERROR_SUCCESS)
        return;
    if (m_existed)
        ::RegSetValueExW(key.get(), m_name.c_str(), 0, m_type, m_data.data(), static_cast<DWORD>(m_data.size()));
    else
        ::RegDeleteValueW(key.get(), m_name.c_str());
}

}  // namespace ferryl::test
