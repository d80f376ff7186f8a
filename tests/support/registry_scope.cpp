#include "support/registry_scope.h"

#include "common/unique_handle.h"

namespace ferryl::test {

RegistryValueScope::RegistryValueScope(HKEY root,
                                       std::wstring subkey,
                                       std::wstring name,
                                       const std::optional<std::wstring>& value,
                                       DWORD type)
    : m_root(root), m_subkey(std::move(subkey)), m_name(std::move(name)) {
    for (size_t end = 0; end != std::wstring::npos && m_createdKey.empty();) {
        end = m_subkey.find(L'\\', end + 1);
        const std::wstring prefix = m_subkey.substr(0, end);
        UniqueRegKey probe;
        if (::RegOpenKeyExW(m_root, prefix.c_str(), 0, KEY_READ, probe.put()) != ERROR_SUCCESS)
            m_createdKey = prefix;
    }
    if (!m_createdKey.empty() && !value)
        return;  // nothing there, and nothing to put there
    UniqueRegKey key;
    if (::RegCreateKeyExW(m_root, m_subkey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return;
    const wchar_t* valueName = m_name.empty() ? nullptr : m_name.c_str();
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), valueName, nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
        m_data.resize(size);
        m_existed = ::RegQueryValueExW(key.get(), valueName, nullptr, &m_type, m_data.data(), &size) == ERROR_SUCCESS;
        m_data.resize(size);
    }
    if (value)
        ::RegSetValueExW(key.get(), valueName, 0, type, reinterpret_cast<const BYTE*>(value->c_str()),
                         static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    else
        ::RegDeleteValueW(key.get(), valueName);
}

RegistryValueScope::~RegistryValueScope() {
    if (!m_createdKey.empty()) {
        ::RegDeleteTreeW(m_root, m_createdKey.c_str());
        ::RegDeleteKeyW(m_root, m_createdKey.c_str());
        return;
    }
    UniqueRegKey key;
    if (::RegOpenKeyExW(m_root, m_subkey.c_str(), 0, KEY_WRITE, key.put()) != ERROR_SUCCESS)
        return;
    const wchar_t* valueName = m_name.empty() ? nullptr : m_name.c_str();
    if (m_existed)
        ::RegSetValueExW(key.get(), valueName, 0, m_type, m_data.data(), static_cast<DWORD>(m_data.size()));
    else
        ::RegDeleteValueW(key.get(), valueName);
}

}  // namespace ferryl::test
