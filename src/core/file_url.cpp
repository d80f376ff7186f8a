#include "core/file_url.h"

#include "core/utf8.h"

namespace ferryl {

namespace {

bool KeptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/' || c == ':';
}

// The "\\?\" and "\\?\UNC\" prefixes of extended-length paths are no part of the file's name.
std::wstring_view WithoutExtendedPrefix(std::wstring_view path, bool& network) {
    network = false;
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        network = true;
        return path.substr(8);
    }
    if (path.starts_with(L"\\\\?\\"))
        return path.substr(4);
    if (path.starts_with(L"\\\\")) {
        network = true;
        return path.substr(2);
    }
    return path;
}

}  // namespace

std::string PercentEncode(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size());
    for (const char byte : utf8) {
        const auto c = static_cast<unsigned char>(byte);
        if (KeptAsIs(c)) {
            out += byte;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

bool IsNetworkPath(std::wstring_view path) {
    bool network = false;
    WithoutExtendedPrefix(path, network);
    return network;
}

std::wstring FileUrl(std::wstring_view path) {
    bool network = false;
    std::wstring slashed(WithoutExtendedPrefix(path, network));
    for (wchar_t& c : slashed) {
        if (c == L'\\')
            c = L'/';
    }
    // The encoded text is ASCII only, so widening it byte by byte is exact.
    const std::string encoded = PercentEncode(Utf8FromWide(slashed));
    // Gecko ignores a file URL's host: file://server/share/x would name share\x. Five slashes
    // leave the server in the path, which Gecko reads as \\server\share\x.
    std::wstring url = network ? L"file://///" : L"file:///";
    url.append(encoded.begin(), encoded.end());
    return url;
}

}  // namespace ferryl
