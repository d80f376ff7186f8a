#include "core/command_line.h"

#include <algorithm>

namespace ferryl {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// A drive path holds ":\"; a network path starts with "\\", after the quote when it has blanks.
bool BeginsPath(std::wstring_view token) {
    if (token.find(L":\\") != std::wstring_view::npos)
        return true;
    if (token.starts_with(L'"'))
        token.remove_prefix(1);
    return token.starts_with(L"\\\\");
}

}  // namespace

std::wstring ArgumentPart(std::wstring_view commandLine) {
    size_t position = 0;
    if (!commandLine.empty() && commandLine.front() == L'"') {
        // A quoted program path ends at the next quote, blanks inside it included.
        size_t closing = commandLine.find(L'"', 1);
        position = closing == std::wstring_view::npos ? commandLine.size() : closing + 1;
    } else {
        while (position < commandLine.size() && !IsBlank(commandLine[position]))
            ++position;
    }
    while (position < commandLine.size() && IsBlank(commandLine[position]))
        ++position;
    return std::wstring(commandLine.substr(position));
}

std::vector<std::wstring> SplitAtBlanks(std::wstring_view text) {
    std::vector<std::wstring> tokens;
    size_t start = 0;
    for (;;) {
        size_t blank = text.find(L' ', start);
        if (blank == std::wstring_view::npos) {
            tokens.emplace_back(text.substr(start));
            return tokens;
        }
        tokens.emplace_back(text.substr(start, blank - start));
        start = blank + 1;
    }
}

std::vector<std::wstring> CommandLinePaths(std::wstring_view text) {
    std::vector<std::wstring> tokens = SplitAtBlanks(text);
    // Each piece that begins no path goes, with a blank, to the end of the last one that does (or
    // of token 0). Appending forwards keeps this linear; joining from the end, each token onto the
    // one before it, copied the growing tail once per piece. A glued piece never holds ":\", so
    // whether a token begins a path does not change by what is glued to it.
    size_t head = 0;
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (BeginsPath(tokens[i])) {
            head = i;
            continue;
        }
        tokens[head] += L' ';
        tokens[head] += tokens[i];
        tokens[i].clear();
    }
    for (std::wstring& token : tokens)
        std::erase(token, L'"');
    return tokens;
}

}  // namespace ferryl
