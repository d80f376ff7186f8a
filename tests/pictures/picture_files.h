#pragma once
// Real pictures for the tests: four coloured quarters, so that a turned or mirrored picture shows
// it, written through WIC and read back through WIC apart from the program's own reading, and the
// orientation tag put in as a camera or a scanner writes it.

#include <cstdint>
#include <string>
#include <vector>

#include "send/picture_wic.h"
#include "support/temp_folder.h"

namespace ferryl::test {

// The colours of the quarters, 0xRRGGBB: top left, top right, bottom left, bottom right.
inline constexpr uint32_t kQuarters[4] = {0xFF0000, 0x00C000, 0x0000FF, 0xFFFFFF};

// Writes a picture in the container's format with the program's writer: of the quarters, the
// bottom right one with the alpha given, or of the pixels given (32bppPBGRA rows). False when WIC
// could not.
bool MakePicture(const std::wstring& path,
                 const GUID& container,
                 UINT width,
                 UINT height,
                 BYTE lastAlpha = 0xFF,
                 std::vector<BYTE> pixels = {});

// Puts the orientation tag (1 to 8) into a JPEG (a new Exif segment) or a TIFF (a new first
// directory holding the old one's entries and the tag).
bool TagOrientation(const std::wstring& path, uint16_t orientation);

// A picture as WIC reads it from its bytes; empty (0 × 0) when it cannot.
struct ReadBack {
    GUID container{};
    UINT width = 0;
    UINT height = 0;
    std::vector<BYTE> bgra;                 // 32bppBGRA rows
    uint32_t Colour(UINT x, UINT y) const;  // 0xRRGGBB
    BYTE Alpha(UINT x, UINT y) const { return bgra[(size_t{y} * width + x) * 4 + 3]; }
    // The colours at the middles of the four quarters, in the order of kQuarters.
    std::vector<uint32_t> QuarterColours() const;
};
ReadBack ReadPictureBytes(const std::string& bytes);
inline ReadBack ReadPicture(const std::wstring& path) {
    return ReadPictureBytes(ReadFileBytes(path));
}

// True when two colours differ by at most 48 in each channel.
bool Near(uint32_t a, uint32_t b);

}  // namespace ferryl::test
