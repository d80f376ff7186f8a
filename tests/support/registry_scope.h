#pragma once
// A registry value set (or removed) for the length of a test, under any root: what was there is
// put back afterwards, and keys the scope had to create are removed again.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ferryl::test {

class RegistryValueScope {
  public:
    // name empty: the key's default value. value nothing: the value is removed for the scope.
    RegistryValueScope(HKEY root,
                       std::wstring subkey,
                       std::wstring name,
                       const std::optional<std::wstring>& value,
                       DWORD type = REG_SZ);
    ~RegistryValueScope();
    RegistryValueScope(const RegistryValueScope&) = delete;
    RegistryValueScope& operator=(const RegistryValueScope&) = delete;

  private:
    HKEY m_root;
    std::wstring m_subkey;
    std::wstring m_name;
    std::wstring m_createdKey;  // the outermost key that did not exist before
    bool m_existed = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_data;
};

}  // namespace ferryl::test
