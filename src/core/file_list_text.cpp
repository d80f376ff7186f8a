#include "core/file_list_text.h"

#include <limits>

namespace ferryl {

unsigned long long LengthOfSizeText(std::wstring_view text) noexcept {
    constexpr unsigned long long kMax = std::numeric_limits<unsigned long long>::max();
    unsigned long long length = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            continue;
        const unsigned digit = static_cast<unsigned>(c - L'0');
        if (length > (kMax - digit) / 10)
            return kMax;
        length = length * 10 + digit;
    }
    return length;
}

std::wstring FileCountAndTotal(long files, std::wstring_view total) {
    std::wstring text = std::to_wstring(files) + (files == 1 ? L" file, " : L" files, ");
    text += total;
    return text;
}

std::wstring SpokenFileRow(std::wstring_view name,
                           std::wstring_view date,
                           std::wstring_view size,
                           std::wstring_view path) {
    std::wstring spoken(name);
    spoken += L", ";
    spoken += date;
    spoken += L", ";
    spoken += size;
    spoken += L" bytes";
    const size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring_view::npos && slash > 0) {
        std::wstring_view folder = path.substr(0, slash);
        if (folder.back() == L':')
            folder = path.substr(0, slash + 1);
        spoken += L", in ";
        spoken += folder;
    }
    return spoken;
}

}  // namespace ferryl
