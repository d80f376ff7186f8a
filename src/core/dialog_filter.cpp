#include "core/dialog_filter.h"

namespace ferryl {

namespace {

bool EndsWithTwo(const std::wstring& text, wchar_t ch) {
    return text.size() >= 2 && text[text.size() - 1] == ch && text[text.size() - 2] == ch;
}

}  // namespace

std::wstring EncodeDialogFilter(std::wstring_view filter) {
    std::wstring stored(filter);
    for (auto& ch : stored) {
        if (ch == L'|')
            ch = L'\0';
    }
    // At most two NULs are added: a filter already ending in "||" is taken as terminated.
    for (int i = 0; i < 2 && !EndsWithTwo(stored, L'\0'); ++i)
        stored.push_back(L'\0');
    return stored;
}

std::wstring DecodeDialogFilter(std::wstring_view stored) {
    std::wstring filter(stored);
    for (auto& ch : filter) {
        if (ch == L'\0')
            ch = L'|';
    }
    for (int i = 0; i < 2 && !filter.empty() && filter.back() == L'|'; ++i)
        filter.pop_back();
    return filter;
}

std::wstring NullTrim(std::wstring& text) {
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos)
        text.resize(nul);
    // Blanks only, as the dialogs pad with nothing else; tabs inside a name are the user's.
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        text.clear();
    } else {
        text.erase(text.find_last_not_of(L' ') + 1);
        text.erase(0, first);
    }
    return text;
}

}  // namespace ferryl
