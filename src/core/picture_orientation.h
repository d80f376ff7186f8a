#pragma once
// The orientation a picture's metadata gives (the Exif and TIFF tag 274): how the stored pixels are
// turned and mirrored to be shown upright.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ferryl {

struct PixelSize {
    uint32_t width = 0;
    uint32_t height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The tag's values 1 to 8, named by what is done to the stored picture to show it.
enum class Orientation : uint8_t {
    Normal = 1,
    MirrorHorizontal = 2,
    Rotate180 = 3,
    MirrorVertical = 4,
    Transpose = 5,   // mirrored horizontally, then turned a quarter anticlockwise
    Rotate90 = 6,    // a quarter clockwise
    Transverse = 7,  // mirrored horizontally, then turned a quarter clockwise
    Rotate270 = 8,   // a quarter anticlockwise
};

// The tag's value as read; any other number means the picture is shown as stored.
Orientation OrientationFromTag(uint32_t value);

// True for the four orientations that swap width and height.
bool SwapsSides(Orientation orientation);
PixelSize ShownSize(PixelSize stored, Orientation orientation);

// The stored pixels shown upright: `stored` holds rows of size.width pixels of bytesPerPixel bytes,
// `stride` bytes apart; the result holds the shown picture's rows without padding.
std::vector<uint8_t> OrientPixels(const uint8_t* stored,
                                  PixelSize size,
                                  size_t stride,
                                  size_t bytesPerPixel,
                                  Orientation orientation);

}  // namespace ferryl
