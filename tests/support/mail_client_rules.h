#pragma once
// How each mail program reads the arguments Send Now gives it, written from the programs' own
// documentation and published parsing rules (no code of theirs), so that the tests read Ferryl's
// output as the programs do rather than compare it with a string of our own. Plain C++: the
// argument split itself is CommandLineToArgvW's, called for real by the Wine-side tests.

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferryl::test {

// Strict UTF-8 to wide text (UTF-16 where wchar_t has 16 bits); nothing for malformed bytes.
inline std::optional<std::wstring> WideFromUtf8(std::string_view bytes) {
    std::wstring out;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= bytes.size())
            return std::nullopt;
        uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (code > 0xFFFF && sizeof(wchar_t) == 2) {
            out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(code);
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

inline wchar_t AsciiFold(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

// %XX sequences to bytes. Strict (GLib's g_unescape_segment): a "%" without two hex digits, an
// escaped NUL or an escaped "/" fails. Lenient (Gecko's NS_UnescapeURL): such a "%" stays as it is.
inline std::optional<std::string> PercentDecode(std::wstring_view text, bool strict) {
    auto hex = [](wchar_t c) { return static_cast<int>(std::wstring_view(L"0123456789abcdef").find(AsciiFold(c))); };
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0x7F)
            return std::nullopt;  // a URL is ASCII text
        if (text[i] == L'%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            const char byte = static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            if (strict && (byte == '\0' || byte == '/'))
                return std::nullopt;
            bytes += byte;
            i += 2;
        } else if (text[i] == L'%' && strict) {
            return std::nullopt;
        } else {
            bytes += static_cast<char>(text[i]);
        }
    }
    return bytes;
}

inline bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](wchar_t a, wchar_t b) { return AsciiFold(a) == AsciiFold(b); });
}

inline bool IsAsciiLetter(wchar_t c) {
    return AsciiFold(c) >= L'a' && AsciiFold(c) <= L'z';
}

// Gecko (Thunderbird, Betterbird, SeaMonkey) turning a file URL into a Windows path
// (nsNoAuthURLParser::ParseAfterScheme, then net_GetFileFromURLSpec): after "file:", two slashes
// start an authority skipped up to the next "/" (unless it is a drive, "C:"), three or more keep
// all but two; the path ends at "?" or "#", is percent-decoded, holds no NUL, has "/" turned into
// "\", loses one leading "\" and is UTF-8. So file://server/share/a gives share\a: the host is lost.
inline std::optional<std::wstring> GeckoFilePath(std::wstring_view url) {
    if (!StartsWithNoCase(url, L"file:"))
        return std::nullopt;
    std::wstring_view rest = url.substr(5);
    size_t slashes = 0;
    while (slashes < rest.size() && (rest[slashes] == L'/' || rest[slashes] == L'\\'))
        ++slashes;
    std::wstring_view path = rest;
    if (slashes == 2) {
        const bool drive = rest.size() > 3 && IsAsciiLetter(rest[2]) && (rest[3] == L':' || rest[3] == L'|') &&
                           (rest.size() == 4 || rest[4] == L'/' || rest[4] == L'\\');
        if (drive) {
            path = rest.substr(1);
        } else {
            const size_t end = rest.find_first_of(L"/?#", 2);
            path = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end);
        }
    } else if (slashes > 2) {
        path = rest.substr(2);
    }
    path = path.substr(0, path.find_first_of(L"?#"));
    std::optional<std::string> bytes = PercentDecode(path, false);
    if (!bytes || bytes->find('\0') != std::string::npos)
        return std::nullopt;
    for (char& c : *bytes)
        c = c == '/' ? '\\' : c;
    if (!bytes->empty() && bytes->front() == '\\')
        bytes->erase(0, 1);
    return WideFromUtf8(*bytes);
}

// Thunderbird's -compose (the one argument after -compose, --compose or /compose in any case, read
// as MsgComposeCommands.js's GetArgs does): name=value fields parted by ","; a value beginning with
// ' (or ") right after "=" is quoted up to that quote followed by "," or the end; the attachment
// field is then split at "," into file URLs. Nothing without -compose or an attachment field.
inline std::optional<std::vector<std::wstring>> ComposeAttachmentUrls(const std::vector<std::wstring>& argv) {
    std::optional<std::wstring> value;
    for (size_t i = 1; i + 1 < argv.size() && !value; ++i) {
        for (const wchar_t* flag : {L"-compose", L"--compose", L"/compose"}) {
            if (argv[i].size() == std::wcslen(flag) && StartsWithNoCase(argv[i], flag))
                value = argv[i + 1];
        }
    }
    if (!value)
        return std::nullopt;
    std::vector<std::wstring> fields(1);
    wchar_t quote = 0;
    for (size_t i = 0; i < value->size(); ++i) {
        const wchar_t c = (*value)[i];
        const wchar_t next = i + 1 < value->size() ? (*value)[i + 1] : 0;
        if (quote && c == quote && (next == L',' || next == 0))
            quote = 0;
        else if (!quote && (c == L'\'' || c == L'"') && i > 0 && (*value)[i - 1] == L'=')
            quote = c;
        if (c == L',' && !quote) {
            fields.emplace_back();
            continue;
        }
        fields.back() += c;
    }
    for (const std::wstring& field : fields) {
        if (field.rfind(L"attachment=", 0) != 0)
            continue;
        std::wstring list = field.substr(11);
        if (list.size() >= 2 && (list.front() == L'\'' || list.front() == L'"') && list.back() == list.front())
            list = list.substr(1, list.size() - 2);
        std::vector<std::wstring> urls(1);
        for (wchar_t c : list) {
            if (c == L',')
                urls.emplace_back();
            else
                urls.back() += c;
        }
        return urls;
    }
    return std::nullopt;
}

// The arguments after "--attach" up to the first one that begins with "-" (Claws Mail's and
// Sylpheed's src/main.c, parse_cmd_opt, where "--attach" is matched by its first eight
// characters).
inline std::vector<std::wstring> AttachArguments(const std::vector<std::wstring>& argv) {
    std::vector<std::wstring> files;
    size_t i = 1;
    while (i < argv.size() && argv[i].compare(0, 8, L"--attach") != 0)
        ++i;
    for (++i; i < argv.size() && !argv[i].empty() && argv[i][0] != L'-'; ++i)
        files.push_back(argv[i]);
    return files;
}

// GLib's g_filename_from_uri on Windows, as Claws Mail calls it (the host dropped): "file:/" in any
// case and no "#"; "file:///" starts the path at its third slash, "file://host/" after the host;
// strict percent-decoding (a bad escape, an escaped NUL or "/" fails); "/" becomes "\", "\C:…"
// loses its leading "\"; the bytes are UTF-8.
inline std::optional<std::wstring> GlibFilenameFromUri(std::wstring_view uri) {
    if (!StartsWithNoCase(uri, L"file:/") || uri.find(L'#') != std::wstring_view::npos)
        return std::nullopt;
    std::wstring_view path = uri.substr(5);
    if (path.rfind(L"///", 0) == 0) {
        path = path.substr(2);
    } else if (path.rfind(L"//", 0) == 0) {
        const size_t slash = path.find(L'/', 2);
        if (slash == std::wstring_view::npos)
            return std::nullopt;
        path = path.substr(slash);
    }
    std::optional<std::string> bytes = PercentDecode(path, true);
    if (!bytes)
        return std::nullopt;
    for (char& c : *bytes)
        c = c == '/' ? '\\' : c;
    if (bytes->size() > 2 && IsAsciiLetter(static_cast<wchar_t>((*bytes)[1])) && (*bytes)[2] == ':')
        bytes->erase(0, 1);
    return WideFromUtf8(*bytes);
}

// Claws Mail's reading of one --attach argument (src/main.c, parse_cmd_opt): a file: URI that
// names an existing file is that file; otherwise an argument that does not begin with "\" is taken
// relative to the folder Claws was started in.
inline std::wstring ClawsAttachment(const std::wstring& argument,
                                    const std::wstring& startupFolder,
                                    const std::function<bool(const std::wstring&)>& fileExists) {
    if (std::optional<std::wstring> file = GlibFilenameFromUri(argument); file && fileExists(*file))
        return *file;
    if (!argument.empty() && argument[0] == L'\\')
        return argument;
    return startupFolder + L"\\" + argument;
}

// Sylpheed's reading of one --attach argument (src/main.c, parse_cmd_opt): an absolute path
// (GLib's g_path_is_absolute: "\…", "/…" or a drive and a separator) is the file, any other
// argument is taken relative to the start-up folder. On Windows its arguments come from the ANSI
// command line, converted from the code page: the caller gives them so.
inline std::wstring SylpheedAttachment(const std::wstring& argument, const std::wstring& startupFolder) {
    const bool absolute = (!argument.empty() && (argument[0] == L'\\' || argument[0] == L'/')) ||
                          (argument.size() > 2 && IsAsciiLetter(argument[0]) && argument[1] == L':' &&
                           (argument[2] == L'\\' || argument[2] == L'/'));
    return absolute ? argument : startupFolder + L"\\" + argument;
}

// Classic Outlook's "/a": the one argument after it is the file to attach (Microsoft's
// "Command-line switches for Microsoft Office products", Outlook: /a). Switches are matched in
// any case.
inline std::optional<std::wstring> OutlookAttachment(const std::vector<std::wstring>& argv) {
    for (size_t i = 1; i + 1 < argv.size(); ++i) {
        if (argv[i].size() == 2 && StartsWithNoCase(argv[i], L"/a"))
            return argv[i + 1];
    }
    return std::nullopt;
}

}  // namespace ferryl::test
