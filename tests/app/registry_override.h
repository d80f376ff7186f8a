#pragma once
// Sets a REG_SZ value of the current user for the length of a test and puts back what was there
// (or removes the value, and keys it created) afterwards.

#include <windows.h>

#include <string>
#include <vector>

namespace ferryl::test {

class RegistryValueOverride {
public:
    RegistryValueOverride(std::wstring subkey, std::wstring name, const std::wstring& value);
    ~RegistryValueOverride();
    RegistryValueOverride(const RegistryValueOverride&) = delete;
    RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;

private:
    std::wstring m_subkey;
    std::wstring m_name;
    bool m_existed = false;
    std::wstring m_createdKey;
    DWORD m_type = 0;
    std::vector<BYTE> m_data;
};

}  // namespace ferryl::test
