#include "core/picture_size.h"

#include <cmath>

#include "core/ascii_case.h"
#include "core/path_rules.h"

namespace ferryl {

namespace {

constexpr std::wstring_view kFolderPrefix = L"FerrylPictures-";
constexpr size_t kFolderDigits = 16;

struct Extension {
    std::wstring_view text;
    PictureFormat format;
};
constexpr Extension kExtensions[] = {
    {L"jpg", PictureFormat::Jpeg},  {L"jpeg", PictureFormat::Jpeg}, {L"jpe", PictureFormat::Jpeg},
    {L"jfif", PictureFormat::Jpeg}, {L"png", PictureFormat::Png},   {L"bmp", PictureFormat::Bmp},
    {L"dib", PictureFormat::Bmp},   {L"gif", PictureFormat::Gif},   {L"tif", PictureFormat::Tiff},
    {L"tiff", PictureFormat::Tiff},
};

// side × part / whole, rounded to the nearest whole pixel and at least one.
uint32_t Proportion(uint32_t side, uint32_t part, uint32_t whole) {
    const uint64_t scaled = (uint64_t{side} * part * 2 + whole) / (uint64_t{whole} * 2);
    return scaled > 0 ? static_cast<uint32_t>(scaled) : 1;
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}

}  // namespace

PixelSize PictureBox(PictureSize size) {
    switch (size) {
        case PictureSize::Original:
            break;
        case PictureSize::Smaller:
            return {640, 480};
        case PictureSize::Small:
            return {800, 600};
        case PictureSize::Medium:
            return {1024, 768};
        case PictureSize::Large:
            return {1280, 1024};
    }
    return {0, 0};
}

PictureSize PictureSizeFromSetting(std::wstring_view text) {
    if (text.size() == 1 && text[0] >= L'0' && text[0] <= L'4')
        return static_cast<PictureSize>(text[0] - L'0');
    return PictureSize::Original;
}

std::wstring PictureSizeSetting(PictureSize size) {
    return std::to_wstring(static_cast<int>(size));
}

PixelSize FittedSize(PixelSize shown, PictureSize size) {
    PixelSize box = PictureBox(size);
    if (box.width == 0 || shown.width == 0 || shown.height == 0)
        return shown;
    if (shown.height > shown.width)
        box = {box.height, box.width};
    if (shown.width <= box.width && shown.height <= box.height)
        return shown;
    // Wider than the box's shape: the width fills the box, else the height does.
    if (uint64_t{shown.width} * box.height >= uint64_t{shown.height} * box.width)
        return {box.width, Proportion(shown.height, box.width, shown.width)};
    return {Proportion(shown.width, box.height, shown.height), box.height};
}

PictureFormat PictureFormatOfName(std::wstring_view fileName) {
    const std::wstring name = FileNameOf(fileName);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos)
        return PictureFormat::None;
    const std::wstring_view extension = std::wstring_view(name).substr(dot + 1);
    for (const Extension& known : kExtensions) {
        if (EqualsNoCase(extension, known.text))
            return known.format;
    }
    return PictureFormat::None;
}

bool IsPictureName(std::wstring_view fileName) {
    return PictureFormatOfName(fileName) != PictureFormat::None;
}

bool AnyPictures(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        if (IsPictureName(path))
            return true;
    }
    return false;
}

bool IsMadeSmaller(const PictureFacts& picture, PictureSize size) {
    if (!picture.readable || !picture.oneFrame)
        return false;
    const PixelSize shown = ShownSize(picture.stored, picture.orientation);
    return FittedSize(shown, size) != shown;
}

uint64_t EstimatedBytes(const PictureFacts& picture, PictureSize size) {
    if (!IsMadeSmaller(picture, size))
        return picture.bytes;
    const PixelSize fitted = FittedSize(ShownSize(picture.stored, picture.orientation), size);
    const double share =
        (double(fitted.width) * fitted.height) / (double(picture.stored.width) * picture.stored.height);
    const auto estimate = static_cast<uint64_t>(std::ceil(double(picture.bytes) * share));
    return estimate < picture.bytes ? estimate : picture.bytes;
}

uint64_t EstimatedBytes(const std::vector<PictureFacts>& pictures, PictureSize size) {
    uint64_t total = 0;
    for (const PictureFacts& picture : pictures)
        total += EstimatedBytes(picture, size);
    return total;
}

std::wstring PictureFolderName(uint64_t seed) {
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring name(kFolderPrefix);
    for (int shift = 60; shift >= 0; shift -= 4)
        name += kDigits[(seed >> shift) & 0xF];
    return name;
}

bool IsPictureFolderName(std::wstring_view name) {
    if (name.size() != kFolderPrefix.size() + kFolderDigits ||
        !EqualsNoCase(name.substr(0, kFolderPrefix.size()), kFolderPrefix))
        return false;
    for (wchar_t c : name.substr(kFolderPrefix.size())) {
        if (!IsHexDigit(c))
            return false;
    }
    return true;
}

}  // namespace ferryl
