#include "pictures/picture_files.h"

#include <algorithm>
#include <cstdlib>

#include "common/unique_handle.h"
#include "support/temp_folder.h"

namespace ferryl::test {

namespace {

IWICImagingFactory* Factory() {
    static IWICImagingFactory* factory = [] {
        IWICImagingFactory* made = nullptr;
        ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(&made));
        return made;
    }();
    return factory;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

void PutU16(std::string& bytes, size_t at, unsigned value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}
void PutU32(std::string& bytes, size_t at, uint32_t value) {
    PutU16(bytes, at, value & 0xFFFF);
    PutU16(bytes, at + 2, value >> 16);
}
unsigned U16(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}
uint32_t U32(const std::string& bytes, size_t at) {
    return U16(bytes, at) | (uint32_t{U16(bytes, at + 2)} << 16);
}

// An IFD entry of one SHORT: tag, type 3, count 1, the value in the first two bytes of four.
std::string ShortEntry(unsigned tag, unsigned value) {
    std::string entry(12, '\0');
    PutU16(entry, 0, tag);
    PutU16(entry, 2, 3);
    PutU32(entry, 4, 1);
    PutU16(entry, 8, value);
    return entry;
}

}  // namespace

bool MakePicture(const std::wstring& path, const GUID& container, UINT width, UINT height, BYTE lastAlpha) {
    std::vector<BYTE> pixels(size_t{width} * height * 4);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const int quarter = (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
            const uint32_t colour = kQuarters[quarter];
            BYTE* pixel = &pixels[(size_t{y} * width + x) * 4];
            pixel[0] = colour & 0xFF;
            pixel[1] = (colour >> 8) & 0xFF;
            pixel[2] = (colour >> 16) & 0xFF;
            pixel[3] = quarter == 3 ? lastAlpha : 0xFF;
        }
    }
    return WritePixels(path, container, width, height, pixels);
}

bool WritePixels(const std::wstring& path, const GUID& container, UINT width, UINT height, std::vector<BYTE> pixels) {
    IWICImagingFactory* wic = Factory();
    UniqueCom<IWICBitmap> bitmap;
    UniqueCom<IWICStream> stream;
    UniqueCom<IWICBitmapEncoder> encoder;
    UniqueCom<IWICBitmapFrameEncode> frame;
    UniqueCom<IWICFormatConverter> converter;
    UniqueCom<IWICPalette> palette;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    return wic &&
           SUCCEEDED(wic->CreateBitmapFromMemory(width, height, format, width * 4, static_cast<UINT>(pixels.size()),
                                                 pixels.data(), bitmap.put())) &&
           SUCCEEDED(wic->CreateStream(stream.put())) &&
           SUCCEEDED(stream.get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(wic->CreateEncoder(container, nullptr, encoder.put())) &&
           SUCCEEDED(encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder.get()->CreateNewFrame(frame.put(), nullptr)) &&
           SUCCEEDED(frame.get()->Initialize(nullptr)) && SUCCEEDED(frame.get()->SetSize(width, height)) &&
           SUCCEEDED(frame.get()->SetPixelFormat(&format)) && SUCCEEDED(wic->CreatePalette(palette.put())) &&
           SUCCEEDED(palette.get()->InitializeFromBitmap(bitmap.get(), 16, FALSE)) &&
           (!::IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed) ||
            SUCCEEDED(frame.get()->SetPalette(palette.get()))) &&
           SUCCEEDED(wic->CreateFormatConverter(converter.put())) &&
           SUCCEEDED(converter.get()->Initialize(bitmap.get(), format, WICBitmapDitherTypeNone, palette.get(), 0,
                                                 WICBitmapPaletteTypeCustom)) &&
           SUCCEEDED(frame.get()->WriteSource(converter.get(), nullptr)) && SUCCEEDED(frame.get()->Commit()) &&
           SUCCEEDED(encoder.get()->Commit());
}

bool TagOrientation(const std::wstring& path, uint16_t orientation) {
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() > 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xD8) {
        // APP1: "Exif", then a little-endian TIFF header and a directory of the one entry.
        std::string exif = std::string("\xFF\xE1\0\0Exif\0\0II*\0\x08\0\0\0\x01\0", 20) + ShortEntry(274, orientation) +
                           std::string(4, '\0');
        // The segment's length is big-endian, as everything of JPEG's own; the Exif inside says "II".
        exif[2] = static_cast<char>((exif.size() - 2) >> 8);
        exif[3] = static_cast<char>((exif.size() - 2) & 0xFF);
        bytes.insert(2, exif);
        return WriteBytes(path, bytes);
    }
    if (bytes.size() < 8 || bytes.compare(0, 4, std::string("II*\0", 4)) != 0)
        return false;
    const uint32_t old = U32(bytes, 4);
    const unsigned count = U16(bytes, old);
    std::vector<std::string> entries;
    for (unsigned i = 0; i < count; ++i) {
        if (U16(bytes, old + 2 + i * 12) != 274)
            entries.push_back(bytes.substr(old + 2 + i * 12, 12));
    }
    entries.push_back(ShortEntry(274, orientation));
    // A directory's entries go in the order of their tags.
    std::sort(entries.begin(), entries.end(),
              [](const std::string& a, const std::string& b) { return U16(a, 0) < U16(b, 0); });
    if (bytes.size() % 2)
        bytes += '\0';
    const size_t directory = bytes.size();
    bytes += std::string(2, '\0');
    PutU16(bytes, directory, static_cast<unsigned>(entries.size()));
    for (const std::string& entry : entries)
        bytes += entry;
    bytes += bytes.substr(old + 2 + count * 12, 4);
    PutU32(bytes, 4, static_cast<uint32_t>(directory));
    return WriteBytes(path, bytes);
}

uint32_t ReadBack::Colour(UINT x, UINT y) const {
    const BYTE* pixel = &bgra[(size_t{y} * width + x) * 4];
    return (uint32_t{pixel[2]} << 16) | (uint32_t{pixel[1]} << 8) | pixel[0];
}

BYTE ReadBack::Alpha(UINT x, UINT y) const {
    return bgra[(size_t{y} * width + x) * 4 + 3];
}

std::vector<uint32_t> ReadBack::QuarterColours() const {
    return {Colour(width / 4, height / 4), Colour(width * 3 / 4, height / 4), Colour(width / 4, height * 3 / 4),
            Colour(width * 3 / 4, height * 3 / 4)};
}

IWICImagingFactory* TestFactory() {
    return Factory();
}

ReadBack ReadPicture(const std::wstring& path) {
    ReadBack picture;
    IWICImagingFactory* wic = Factory();
    UniqueCom<IWICBitmapDecoder> decoder;
    UniqueCom<IWICBitmapFrameDecode> frame;
    UniqueCom<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (!wic ||
        FAILED(wic->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
        FAILED(decoder.get()->GetContainerFormat(&picture.container)) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())) || FAILED(frame.get()->GetSize(&width, &height)) ||
        FAILED(wic->CreateFormatConverter(converter.put())) ||
        FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                           0, WICBitmapPaletteTypeCustom)))
        return {};
    picture.bgra.resize(size_t{width} * height * 4);
    if (FAILED(converter.get()->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.bgra.size()),
                                           picture.bgra.data())))
        return {};
    picture.width = width;
    picture.height = height;
    return picture;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

}  // namespace ferryl::test
