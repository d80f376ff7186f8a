#pragma once
// The properties of the command-line split and re-join, stated apart from how core/command_line.cpp
// computes them: the fuzzers check every result against these.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line.h"
#include "fuzz/fuzz_support.h"

namespace ferryl::fuzz {

inline bool IsBlankChar(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The argument part is what follows the program's path and the blanks after it: a quoted path
// ends at its closing quote (none: the whole line is the path), a bare one at the first blank.
inline void CheckArgumentPart(std::wstring_view commandLine, std::wstring_view arguments) {
    FUZZ_REQUIRE(arguments.size() <= commandLine.size());
    FUZZ_REQUIRE(commandLine.ends_with(arguments));
    FUZZ_REQUIRE(arguments.empty() || !IsBlankChar(arguments.front()));
    std::wstring_view program = commandLine.substr(0, commandLine.size() - arguments.size());
    while (!program.empty() && IsBlankChar(program.back()))
        program.remove_suffix(1);
    if (commandLine.starts_with(L'"')) {
        const size_t closing = commandLine.find(L'"', 1);
        if (closing == std::wstring_view::npos)
            FUZZ_REQUIRE(arguments.empty());
        else
            FUZZ_REQUIRE(program.size() == closing + 1);
    } else {
        FUZZ_REQUIRE(std::none_of(program.begin(), program.end(), IsBlankChar));
        FUZZ_REQUIRE(program.size() == commandLine.size() - arguments.size() ||
                     IsBlankChar(commandLine[program.size()]));
    }
}

// Splitting at single blanks loses nothing: the tokens joined by blanks give the text back.
inline void CheckSplit(std::wstring_view text, const std::vector<std::wstring>& tokens) {
    FUZZ_REQUIRE(tokens.size() == static_cast<size_t>(std::count(text.begin(), text.end(), L' ')) + 1);
    std::wstring joined;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (i > 0)
            joined += L' ';
        joined += tokens[i];
    }
    FUZZ_REQUIRE(joined == text);
}

// A token begins a path when it holds ":\" (a drive path) or starts with "\\", a quote before it
// allowed (a network path).
inline bool BeginsAPath(std::wstring_view token) {
    return token.find(L":\\") != std::wstring_view::npos || token.starts_with(L"\\\\") || token.starts_with(L"\"\\\\");
}

// The re-join: token 0 and each token that begins a path start a candidate; each other token is
// glued with a blank to the candidate before it and leaves an empty one in its place. Quotes go.
inline void CheckRejoin(std::wstring_view text, const std::vector<std::wstring>& paths) {
    std::vector<std::wstring_view> tokens;
    for (size_t start = 0;;) {
        const size_t blank = text.find(L' ', start);
        tokens.push_back(
            text.substr(start, blank == std::wstring_view::npos ? std::wstring_view::npos : blank - start));
        if (blank == std::wstring_view::npos)
            break;
        start = blank + 1;
    }
    FUZZ_REQUIRE(paths.size() == tokens.size());
    std::wstring expected;
    size_t head = 0;
    auto compareHead = [&] {
        std::erase(expected, L'"');
        FUZZ_REQUIRE(paths[head] == expected);
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (i == 0 || BeginsAPath(tokens[i])) {
            if (i > 0)
                compareHead();
            head = i;
            expected.assign(tokens[i]);
        } else {
            FUZZ_REQUIRE(paths[i].empty());
            expected += L' ';
            expected += tokens[i];
        }
    }
    compareHead();
}

}  // namespace ferryl::fuzz
