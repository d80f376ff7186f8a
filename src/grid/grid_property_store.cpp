#include "grid/grid_property_store.h"

#include <windows.h>

#include <algorithm>

namespace ferryl {
namespace {

bool SameKey(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

const std::pair<std::wstring, TaggedValue>* GridPropertyStore::Find(std::wstring_view key) const {
    for (const auto& entry : m_entries) {
        if (SameKey(entry.first, key))
            return &entry;
    }
    return nullptr;
}

TaggedValue GridPropertyStore::ReadProperty(std::wstring_view key, const TaggedValue& defaultValue) const {
    const auto* entry = Find(key);
    return entry ? entry->second : defaultValue;
}

void GridPropertyStore::WriteProperty(std::wstring_view key,
                                      const TaggedValue& value,
                                      const std::optional<TaggedValue>& defaultValue) {
    auto it =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& entry) { return SameKey(entry.first, key); });
    if (defaultValue && value.Identical(*defaultValue)) {
        if (it != m_entries.end())
            m_entries.erase(it);
        return;
    }
    if (it != m_entries.end())
        it->second = value;
    else
        m_entries.emplace_back(std::wstring(key), value);
}

std::vector<std::wstring> GridPropertyStore::Keys() const {
    std::vector<std::wstring> keys;
    keys.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        keys.push_back(entry.first);
    return keys;
}

}  // namespace ferryl
