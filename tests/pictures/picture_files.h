#pragma once
// Real pictures for the tests, made and read back through WIC: four coloured quarters, so that a
// turned or mirrored picture shows it, and the orientation tag put in as a camera or a scanner
// writes it.

#include <windows.h>
// After windows.h, which it needs.
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ferryl::test {

// The colours of the quarters, 0xRRGGBB: top left, top right, bottom left, bottom right.
inline constexpr uint32_t kQuarters[4] = {0xFF0000, 0x00C000, 0x0000FF, 0xFFFFFF};

// Writes a picture of the quarters, the bottom right one with the alpha given; false when WIC could
// not. WritePixels writes 32bppBGRA pixels as a picture.
bool MakePicture(const std::wstring& path, const GUID& container, UINT width, UINT height, BYTE lastAlpha = 0xFF);
bool WritePixels(const std::wstring& path, const GUID& container, UINT width, UINT height, std::vector<BYTE> pixels);
IWICImagingFactory* TestFactory();

// Puts the orientation tag (1 to 8) into a JPEG (a new Exif segment) or a TIFF (a new first
// directory holding the old one's entries and the tag).
bool TagOrientation(const std::wstring& path, uint16_t orientation);

struct ReadBack {
    GUID container{};
    UINT width = 0;
    UINT height = 0;
    std::vector<BYTE> bgra;                 // 32bppBGRA rows
    uint32_t Colour(UINT x, UINT y) const;  // 0xRRGGBB
    BYTE Alpha(UINT x, UINT y) const;
    // The colours at the middles of the four quarters, in the order of kQuarters.
    std::vector<uint32_t> QuarterColours() const;
};

// The picture as WIC reads it from a file or from its bytes; empty (0 × 0) when it cannot.
ReadBack ReadPicture(const std::wstring& path);
ReadBack ReadPictureBytes(const std::string& bytes);

// True when two colours differ by at most `tolerance` in each channel.
bool Near(uint32_t a, uint32_t b, int tolerance = 48);

}  // namespace ferryl::test
