#pragma once
// Stands in for the host's property store of an embedded control: named values, keys matched
// without regard to letter case, kept in the order they were first written.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/tagged_value.h"

namespace ferryl {

class GridPropertyStore {
  public:
    // The stored value, or the default when the key is missing.
    TaggedValue ReadProperty(std::wstring_view key, const TaggedValue& defaultValue = {}) const;

    // Stores the value. Given a default, a value identical to it is left out of the store (and an
    // older entry under the key removed); without one the key is always written.
    void WriteProperty(std::wstring_view key,
                       const TaggedValue& value,
                       const std::optional<TaggedValue>& defaultValue = std::nullopt);

    bool Contains(std::wstring_view key) const { return Find(key) != nullptr; }
    // The keys as they were written, in the order they were first written.
    std::vector<std::wstring> Keys() const;
    size_t Count() const noexcept { return m_entries.size(); }

  private:
    const std::pair<std::wstring, TaggedValue>* Find(std::wstring_view key) const;

    std::vector<std::pair<std::wstring, TaggedValue>> m_entries;
};

}  // namespace ferryl
