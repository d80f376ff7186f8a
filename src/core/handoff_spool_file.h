#pragma once
// A handoff kept in the spool folder, for a running instance that was too busy to take it: the
// file's bytes and its name, free of system calls.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferryl {

// More than a command line's paths ever take; a larger file is not a handoff of ours.
inline constexpr std::size_t kSpoolFileMaxBytes = 1 << 20;

// UTF-16LE: the mark "Ferryl handoff 1", then every path that is not empty, each ending in a NUL,
// then one NUL more. No path holds a NUL, so none can be cut or made; a file cut short lacks the
// last NUL.
std::string EncodeSpoolFile(const std::vector<std::wstring>& paths);

// The paths of a kept handoff; nothing for bytes that are not a whole one (another mark, cut short,
// of odd length, larger than kSpoolFileMaxBytes).
std::optional<std::vector<std::wstring>> DecodeSpoolFile(std::string_view bytes);

// A kept handoff's name: "S<session>-<time>-<process>-<count>.handoff", in hexadecimal, the time of
// 16 digits so that the names of a session sort in the order they were kept.
std::wstring SpoolFileName(unsigned long session, unsigned long long time, unsigned long process, unsigned long count);
// The name a handoff is written under before it is renamed: no take-in reads it.
std::wstring PartialSpoolFileName(std::wstring_view name);

// The directory-search pattern of a session's kept handoffs, and whether a name it found is one.
std::wstring SpoolFilePattern(unsigned long session);
bool IsSpoolFileName(std::wstring_view name, unsigned long session);
// The pattern of the partial files, which a writer that was ended leaves behind.
inline constexpr wchar_t kPartialSpoolFilePattern[] = L"*.handoff.partial";

}  // namespace ferryl
