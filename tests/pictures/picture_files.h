#pragma once
// Real pictures for the tests: four coloured quarters, so that a turned or mirrored picture shows
// it, written through WIC and read back through WIC apart from the program's own reading.

#include <cstdint>
#include <string>
#include <vector>

#include "send/picture_wic.h"
#include "support/temp_folder.h"

namespace ferryl::test {

// The colours of the quarters, 0xRRGGBB: top left, top right, bottom left, bottom right.
inline constexpr uint32_t kQuarters[4] = {0xFF0000, 0x00C000, 0x0000FF, 0xFFFFFF};

// Writes a picture of the quarters with the program's writer, the last quarter of this alpha.
bool MakePicture(const std::wstring& path, const GUID& container, UINT width, UINT height, BYTE lastAlpha = 0xFF);

// Puts the orientation tag (1 to 8) into a TIFF in a new first directory, as a scanner writes it.
bool TagOrientation(const std::wstring& path, uint16_t orientation);

// A picture as WIC reads it; 0 × 0 when it cannot.
struct ReadBack {
    GUID container{};
    UINT width = 0;
    UINT height = 0;
    std::vector<BYTE> bgra;  // 32bppBGRA rows
    BYTE Alpha(UINT x, UINT y) const { return bgra[(size_t{y} * width + x) * 4 + 3]; }
    // The colours (0xRRGGBB) at the middles of the four quarters, in the order of kQuarters.
    std::vector<uint32_t> QuarterColours() const;
};
ReadBack ReadPictureBytes(const std::string& bytes);
inline ReadBack ReadPicture(const std::wstring& path) {
    return ReadPictureBytes(ReadFileBytes(path));
}

// True when two colours differ by at most 48 in each channel.
bool Near(uint32_t a, uint32_t b);

}  // namespace ferryl::test
