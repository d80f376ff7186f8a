#include "core/picture_orientation.h"

#include <cstring>

namespace ferryl {

namespace {

struct Place {
    uint32_t x;
    uint32_t y;
};

// Where the pixel shown at (x, y) lies in the stored picture of size w × h.
Place StoredPlace(uint32_t x, uint32_t y, uint32_t w, uint32_t h, Orientation orientation) {
    switch (orientation) {
        case Orientation::Normal:
            break;
        case Orientation::MirrorHorizontal:
            return {w - 1 - x, y};
        case Orientation::Rotate180:
            return {w - 1 - x, h - 1 - y};
        case Orientation::MirrorVertical:
            return {x, h - 1 - y};
        case Orientation::Transpose:
            return {y, x};
        case Orientation::Rotate90:
            return {y, h - 1 - x};
        case Orientation::Transverse:
            return {w - 1 - y, h - 1 - x};
        case Orientation::Rotate270:
            return {w - 1 - y, x};
    }
    return {x, y};
}

}  // namespace

Orientation OrientationFromTag(uint32_t value) {
    return value >= 1 && value <= 8 ? static_cast<Orientation>(value) : Orientation::Normal;
}

bool SwapsSides(Orientation orientation) {
    return static_cast<int>(orientation) >= static_cast<int>(Orientation::Transpose);
}

PixelSize ShownSize(PixelSize stored, Orientation orientation) {
    return SwapsSides(orientation) ? PixelSize{stored.height, stored.width} : stored;
}

std::vector<uint8_t> OrientPixels(const uint8_t* stored,
                                  PixelSize size,
                                  size_t stride,
                                  size_t bytesPerPixel,
                                  Orientation orientation) {
    const PixelSize shown = ShownSize(size, orientation);
    std::vector<uint8_t> result(size_t{shown.width} * shown.height * bytesPerPixel);
    uint8_t* out = result.data();
    for (uint32_t y = 0; y < shown.height; ++y) {
        for (uint32_t x = 0; x < shown.width; ++x) {
            const Place from = StoredPlace(x, y, size.width, size.height, orientation);
            std::memcpy(out, stored + from.y * stride + from.x * bytesPerPixel, bytesPerPixel);
            out += bytesPerPixel;
        }
    }
    return result;
}

}  // namespace ferryl
