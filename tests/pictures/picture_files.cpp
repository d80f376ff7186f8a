#include "pictures/picture_files.h"

#include <algorithm>
#include <cstdlib>

namespace ferryl::test {

namespace {

// Little-endian numbers, as the TIFF here writes them.
void Put(std::string& bytes, size_t at, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
uint32_t Get(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// An IFD entry of one SHORT: tag 274, type 3, count 1, the value in the first two bytes of four.
std::string OrientationEntry(unsigned value) {
    std::string entry(12, '\0');
    Put(entry, 0, 274, 2);
    Put(entry, 2, 3, 2);
    Put(entry, 4, 1, 4);
    Put(entry, 8, value, 2);
    return entry;
}

}  // namespace

bool MakePicture(const std::wstring& path, const GUID& container, UINT width, UINT height, BYTE lastAlpha) {
    PicturePixels picture{{width, height}, GUID_WICPixelFormat32bppPBGRA, 4, lastAlpha != 0xFF, {}};
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const int quarter = (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
            const BYTE alpha = quarter == 3 ? lastAlpha : 0xFF;
            for (int channel = 0; channel < 3; ++channel)
                picture.bytes.push_back(
                    static_cast<BYTE>(((kQuarters[quarter] >> (8 * channel)) & 0xFF) * alpha / 255));
            picture.bytes.push_back(alpha);
        }
    }
    WicFactory wic;
    return wic.get() && SUCCEEDED(WritePicture(*wic.get(), picture, container, path));
}

bool TagOrientation(const std::wstring& path, uint16_t orientation) {
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 8 || bytes.compare(0, 4, std::string("II*\0", 4)) != 0)
        return false;
    const uint32_t old = Get(bytes, 4, 4);
    const unsigned count = Get(bytes, old, 2);
    std::vector<std::string> entries{OrientationEntry(orientation)};
    for (unsigned i = 0; i < count; ++i) {
        if (Get(bytes, old + 2 + i * 12, 2) != 274)
            entries.push_back(bytes.substr(old + 2 + i * 12, 12));
    }
    // A directory's entries go in the order of their tags; it starts on a word boundary.
    std::sort(entries.begin(), entries.end(),
              [](const std::string& a, const std::string& b) { return Get(a, 0, 2) < Get(b, 0, 2); });
    bytes.resize(bytes.size() + bytes.size() % 2);
    const size_t directory = bytes.size();
    bytes += std::string(2, '\0');
    Put(bytes, directory, static_cast<uint32_t>(entries.size()), 2);
    for (const std::string& entry : entries)
        bytes += entry;
    bytes += bytes.substr(old + 2 + count * 12, 4);
    Put(bytes, 4, static_cast<uint32_t>(directory), 4);
    return WriteFileBytes(path, bytes);
}

std::vector<uint32_t> ReadBack::QuarterColours() const {
    std::vector<uint32_t> colours;
    for (UINT y : {height / 4, height * 3 / 4}) {
        for (UINT x : {width / 4, width * 3 / 4}) {
            const BYTE* pixel = &bgra[(size_t{y} * width + x) * 4];
            colours.push_back((uint32_t{pixel[2]} << 16) | (uint32_t{pixel[1]} << 8) | pixel[0]);
        }
    }
    return colours;
}

ReadBack ReadPictureBytes(const std::string& bytes) {
    ReadBack picture;
    WicFactory wic;
    UniqueCom<IWICStream> stream;
    UniqueCom<IWICBitmapDecoder> decoder;
    UniqueCom<IWICBitmapFrameDecode> frame;
    UniqueCom<IWICFormatConverter> converter;
    std::string copy = bytes;  // the stream reads it in place
    if (!wic.get() || copy.empty() || FAILED(wic.get()->CreateStream(stream.put())) ||
        FAILED(stream.get()->InitializeFromMemory(reinterpret_cast<BYTE*>(copy.data()),
                                                  static_cast<DWORD>(copy.size()))) ||
        FAILED(
            wic.get()->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder.get()->GetContainerFormat(&picture.container)) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())) ||
        FAILED(frame.get()->GetSize(&picture.width, &picture.height)) ||
        FAILED(wic.get()->CreateFormatConverter(converter.put())) ||
        FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                           0, WICBitmapPaletteTypeCustom)))
        return {};
    picture.bgra.resize(size_t{picture.width} * picture.height * 4);
    if (FAILED(converter.get()->CopyPixels(nullptr, picture.width * 4, static_cast<UINT>(picture.bgra.size()),
                                           picture.bgra.data())))
        return {};
    return picture;
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 48)
            return false;
    }
    return true;
}

}  // namespace ferryl::test
