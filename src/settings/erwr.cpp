#include "settings/erwr.h"

#include "common/unique_handle.h"

namespace ferryl {

namespace {

std::wstring ReadStringValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName) {
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    // One spare character: stored data need not end in NUL.
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    text.resize(size / sizeof(wchar_t));
    if (size_t nul = text.find(L'\0'); nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

}  // namespace

TaggedValue RegRead(HKEY root, const std::wstring& subkey, const std::wstring& valueName) {
    std::wstring text = ReadStringValue(root, subkey, valueName);
    return TaggedValue(text.empty() ? std::wstring(kRegReadMissing) : text);
}

}  // namespace ferryl
