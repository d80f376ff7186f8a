#include "send/picture_wic.h"

#include <objbase.h>

#include <algorithm>

// WIC is reached through COM only, so that Ferryl.exe does not load windowscodecs.dll at start;
// MSVC keeps WIC's GUIDs in its import library (MinGW in libuuid).
#ifdef _MSC_VER
#pragma comment(lib, "windowscodecs.lib")
#endif

namespace ferryl {

namespace {

// Rows decoded at a time: small enough for Cancel to answer within a moment.
constexpr UINT kBandRows = 64;
constexpr float kJpegQuality = 0.85f;

const GUID* const kContainers[] = {&GUID_ContainerFormatJpeg, &GUID_ContainerFormatPng, &GUID_ContainerFormatBmp,
                                   &GUID_ContainerFormatGif, &GUID_ContainerFormatTiff};

bool IsKnownContainer(const GUID& container) {
    return std::any_of(std::begin(kContainers), std::end(kContainers),
                       [&](const GUID* known) { return ::IsEqualGUID(*known, container); });
}

// The orientation tag where the metadata of JPEG (Exif) and TIFF keep it; the other formats have
// none WIC reads.
const wchar_t* OrientationQuery(const GUID& container) {
    if (::IsEqualGUID(container, GUID_ContainerFormatJpeg))
        return L"/app1/ifd/{ushort=274}";
    if (::IsEqualGUID(container, GUID_ContainerFormatTiff))
        return L"/ifd/{ushort=274}";
    return nullptr;
}

// Normal when the metadata says nothing readable: the picture is then sent as stored.
Orientation ReadOrientation(IWICBitmapFrameDecode& frame, const GUID& container) {
    const wchar_t* query = OrientationQuery(container);
    UniqueCom<IWICMetadataQueryReader> reader;
    if (!query || FAILED(frame.GetMetadataQueryReader(reader.put())))
        return Orientation::Normal;
    PROPVARIANT value;
    ::PropVariantInit(&value);
    if (FAILED(reader.get()->GetMetadataByName(query, &value)))
        return Orientation::Normal;
    uint32_t tag = 0;
    switch (value.vt) {
        case VT_UI2:
            tag = value.uiVal;
            break;
        case VT_UI4:
            tag = value.ulVal;
            break;
        case VT_UI1:
            tag = value.bVal;
            break;
        default:
            break;
    }
    ::PropVariantClear(&value);
    return OrientationFromTag(tag);
}

// Whether the picture may have transparent pixels: as its pixel format says, or its palette.
bool MayBeTransparent(IWICImagingFactory& wic, IWICBitmapFrameDecode& frame) {
    WICPixelFormatGUID format{};
    UniqueCom<IWICComponentInfo> info;
    UniqueCom<IWICPixelFormatInfo2> formatInfo;
    BOOL transparent = FALSE;
    if (SUCCEEDED(frame.GetPixelFormat(&format)) && SUCCEEDED(wic.CreateComponentInfo(format, info.put())) &&
        SUCCEEDED(info.get()->QueryInterface(IID_IWICPixelFormatInfo2, reinterpret_cast<void**>(formatInfo.put()))))
        formatInfo.get()->SupportsTransparency(&transparent);
    UniqueCom<IWICPalette> palette;
    BOOL paletteAlpha = FALSE;
    if (SUCCEEDED(wic.CreatePalette(palette.put())) && SUCCEEDED(frame.CopyPalette(palette.get())))
        palette.get()->HasAlpha(&paletteAlpha);
    return transparent || paletteAlpha;
}

HRESULT Converted(IWICImagingFactory& wic,
                  IWICBitmapSource& source,
                  const WICPixelFormatGUID& format,
                  IWICPalette* palette,
                  UniqueCom<IWICBitmapSource>& converted) {
    UniqueCom<IWICFormatConverter> converter;
    HRESULT hr = wic.CreateFormatConverter(converter.put());
    if (SUCCEEDED(hr))
        hr = converter.get()->Initialize(&source, format,
                                         palette ? WICBitmapDitherTypeErrorDiffusion : WICBitmapDitherTypeNone, palette,
                                         0, WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(hr))
        converted.reset(converter.release());
    return hr;
}

HRESULT Scaled(IWICImagingFactory& wic, IWICBitmapSource& source, PixelSize size, UniqueCom<IWICBitmapSource>& scaled) {
    UniqueCom<IWICBitmapScaler> scaler;
    HRESULT hr = wic.CreateBitmapScaler(scaler.put());
    if (SUCCEEDED(hr))
        hr = scaler.get()->Initialize(&source, size.width, size.height, WICBitmapInterpolationModeFant);
    if (SUCCEEDED(hr))
        scaled.reset(scaler.release());
    return hr;
}

// The stream of a new file. The name is claimed with CREATE_NEW first, so that an existing file is
// never replaced; WIC's stream then opens the empty file again.
HRESULT NewFileStream(IWICImagingFactory& wic, const std::wstring& path, UniqueCom<IWICStream>& stream) {
    UniqueFile claim(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!claim)
        return HRESULT_FROM_WIN32(::GetLastError());
    claim.reset();
    HRESULT hr = wic.CreateStream(stream.put());
    if (SUCCEEDED(hr))
        hr = stream.get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (FAILED(hr))
        ::DeleteFileW(path.c_str());
    return hr;
}

// What the encoder is given: the pixels in the format it asked for. GIF takes 8-bit indexed
// pixels, for which a palette is made from the picture itself.
HRESULT SourceForEncoder(IWICImagingFactory& wic,
                         IWICBitmap& bitmap,
                         const WICPixelFormatGUID& asked,
                         bool transparent,
                         IWICBitmapFrameEncode& frame,
                         UniqueCom<IWICBitmapSource>& source) {
    WICPixelFormatGUID own{};
    bitmap.GetPixelFormat(&own);
    if (::IsEqualGUID(own, asked)) {
        bitmap.AddRef();
        source.reset(&bitmap);
        return S_OK;
    }
    UniqueCom<IWICPalette> palette;
    if (::IsEqualGUID(asked, GUID_WICPixelFormat8bppIndexed)) {
        HRESULT hr = wic.CreatePalette(palette.put());
        if (SUCCEEDED(hr))
            hr = palette.get()->InitializeFromBitmap(&bitmap, 256, transparent ? TRUE : FALSE);
        if (SUCCEEDED(hr))
            hr = frame.SetPalette(palette.get());
        if (FAILED(hr))
            return hr;
    }
    return Converted(wic, bitmap, asked, palette.get(), source);
}

// The options of a frame's encoder: JPEG at quality 85; the other formats as they come.
HRESULT SetEncoderOptions(IPropertyBag2& options, const GUID& container) {
    if (!::IsEqualGUID(container, GUID_ContainerFormatJpeg))
        return S_OK;
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = kJpegQuality;
    return options.Write(1, &option, &value);
}

HRESULT Encode(IWICImagingFactory& wic,
               const PicturePixels& pixels,
               IWICBitmap& bitmap,
               const GUID& container,
               IStream& stream) {
    UniqueCom<IWICBitmapEncoder> encoder;
    UniqueCom<IWICBitmapFrameEncode> frame;
    UniqueCom<IPropertyBag2> options;
    HRESULT hr = wic.CreateEncoder(container, nullptr, encoder.put());
    if (SUCCEEDED(hr))
        hr = encoder.get()->Initialize(&stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr))
        hr = encoder.get()->CreateNewFrame(frame.put(), options.put());
    if (SUCCEEDED(hr) && options)
        hr = SetEncoderOptions(*options.get(), container);
    if (SUCCEEDED(hr))
        hr = frame.get()->Initialize(options.get());
    if (SUCCEEDED(hr))
        hr = frame.get()->SetSize(pixels.size.width, pixels.size.height);
    if (SUCCEEDED(hr))
        hr = frame.get()->SetResolution(pixels.dpiX, pixels.dpiY);
    // What the picture needs, which the encoder may change to what it can write.
    WICPixelFormatGUID asked = pixels.transparent ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr))
        hr = frame.get()->SetPixelFormat(&asked);
    UniqueCom<IWICBitmapSource> source;
    if (SUCCEEDED(hr))
        hr = SourceForEncoder(wic, bitmap, asked, pixels.transparent, *frame.get(), source);
    if (SUCCEEDED(hr))
        hr = frame.get()->WriteSource(source.get(), nullptr);
    if (SUCCEEDED(hr))
        hr = frame.get()->Commit();
    if (SUCCEEDED(hr))
        hr = encoder.get()->Commit();
    return hr;
}

}  // namespace

uint64_t FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

WicFactory::WicFactory() : m_com(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {
    // RPC_E_CHANGED_MODE: the thread is in an apartment already (the window's), which serves.
    m_result = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(m_factory.put()));
}

WicFactory::~WicFactory() {
    m_factory.reset();
    if (SUCCEEDED(m_com))
        ::CoUninitialize();
}

HRESULT OpenPicture(IWICImagingFactory& wic, const std::wstring& path, OpenedPicture& picture) {
    picture.facts.path = path;
    picture.facts.bytes = FileBytes(path);
    picture.facts.readable = false;
    UniqueCom<IWICBitmapDecoder> decoder;
    // Opened for reading only, shared: the original is never touched.
    HRESULT hr = wic.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                               decoder.put());
    if (SUCCEEDED(hr))
        hr = decoder.get()->GetContainerFormat(&picture.container);
    if (SUCCEEDED(hr) && !IsKnownContainer(picture.container))
        hr = WINCODEC_ERR_COMPONENTNOTFOUND;
    UINT frames = 0;
    if (SUCCEEDED(hr))
        hr = decoder.get()->GetFrameCount(&frames);
    if (SUCCEEDED(hr))
        hr = decoder.get()->GetFrame(0, picture.frame.put());
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr))
        hr = picture.frame.get()->GetSize(&width, &height);
    if (SUCCEEDED(hr) && (width == 0 || height == 0))
        hr = WINCODEC_ERR_BADIMAGE;
    if (FAILED(hr)) {
        picture.frame.reset();
        return hr;
    }
    picture.facts.readable = true;
    picture.facts.oneFrame = frames == 1;
    picture.facts.stored = {width, height};
    picture.facts.orientation = ReadOrientation(*picture.frame.get(), picture.container);
    return S_OK;
}

HRESULT DecodeSmaller(IWICImagingFactory& wic,
                      const OpenedPicture& picture,
                      PixelSize shown,
                      PicturePixels& pixels,
                      const KeepGoing& keepGoing) {
    IWICBitmapFrameDecode& frame = *picture.frame.get();
    // JPEG, which has no transparency, in 24 bits; the others premultiplied, as Fant mixes
    // transparent pixels correctly only so.
    const bool jpeg = ::IsEqualGUID(picture.container, GUID_ContainerFormatJpeg);
    pixels.format = jpeg ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppPBGRA;
    pixels.bytesPerPixel = jpeg ? 3 : 4;
    pixels.transparent = !jpeg && MayBeTransparent(wic, frame);
    const Orientation orientation = picture.facts.orientation;
    const PixelSize stored = SwapsSides(orientation) ? PixelSize{shown.height, shown.width} : shown;
    frame.GetResolution(&pixels.dpiX, &pixels.dpiY);
    if (SwapsSides(orientation))
        std::swap(pixels.dpiX, pixels.dpiY);

    // A JPEG is scaled as it decodes and converted after, which spares converting every pixel of
    // the large picture; the other formats are converted first, so that Fant mixes colours rather
    // than palette indices.
    UniqueCom<IWICBitmapSource> first, second;
    HRESULT hr;
    if (jpeg) {
        hr = Scaled(wic, frame, stored, first);
        if (SUCCEEDED(hr))
            hr = Converted(wic, *first.get(), pixels.format, nullptr, second);
    } else {
        hr = Converted(wic, frame, pixels.format, nullptr, first);
        if (SUCCEEDED(hr))
            hr = Scaled(wic, *first.get(), stored, second);
    }
    if (FAILED(hr))
        return hr;

    const UINT stride = stored.width * pixels.bytesPerPixel;
    std::vector<BYTE> bytes(size_t{stride} * stored.height);
    for (UINT top = 0; top < stored.height; top += kBandRows) {
        if (keepGoing && !keepGoing())
            return E_ABORT;
        const WICRect band{0, static_cast<INT>(top), static_cast<INT>(stored.width),
                           static_cast<INT>(std::min(kBandRows, stored.height - top))};
        hr = second.get()->CopyPixels(&band, stride, static_cast<UINT>(size_t{stride} * band.Height),
                                      bytes.data() + size_t{stride} * top);
        if (FAILED(hr))
            return hr;
    }
    // Turned here rather than by WIC's flip-rotator: the picture is small by now, and the one rule
    // for the eight orientations is the core's, tested on its own.
    pixels.size = shown;
    pixels.bytes = orientation == Orientation::Normal
                       ? std::move(bytes)
                       : OrientPixels(bytes.data(), stored, stride, pixels.bytesPerPixel, orientation);
    return S_OK;
}

HRESULT WritePicture(IWICImagingFactory& wic,
                     const PicturePixels& pixels,
                     const GUID& container,
                     const std::wstring& target) {
    const UINT stride = pixels.size.width * pixels.bytesPerPixel;
    UniqueCom<IWICBitmap> bitmap;
    // The bitmap only reads the bytes; the declaration lacks the const.
    HRESULT hr = wic.CreateBitmapFromMemory(pixels.size.width, pixels.size.height, pixels.format, stride,
                                            static_cast<UINT>(pixels.bytes.size()),
                                            const_cast<BYTE*>(pixels.bytes.data()), bitmap.put());
    if (FAILED(hr))
        return hr;
    UniqueCom<IWICStream> stream;
    hr = NewFileStream(wic, target, stream);
    if (FAILED(hr))
        return hr;
    hr = Encode(wic, pixels, *bitmap.get(), container, *stream.get());
    stream.reset();
    if (FAILED(hr))
        ::DeleteFileW(target.c_str());
    return hr;
}

}  // namespace ferryl
