#pragma once
// One picture through the Windows Imaging Component: opened and read; decoded, scaled with Fant and
// turned upright into pixels in memory; written again in its own format. The three stages stand
// apart, so that a test can hand the decoding an orientation the system's decoder could not read.

#include <windows.h>
// After windows.h, which they need.
#include <ocidl.h>
#include <wincodec.h>

#include <functional>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "core/picture_size.h"

namespace ferryl {

// COM on the calling thread, whatever its apartment (joined when it has one), and the imaging
// factory. WIC's objects may be used on any thread.
class WicFactory {
  public:
    WicFactory();
    ~WicFactory();
    WicFactory(const WicFactory&) = delete;
    WicFactory& operator=(const WicFactory&) = delete;

    // Null when the factory could not be made; Result says why.
    IWICImagingFactory* get() const { return m_factory.get(); }
    HRESULT Result() const { return m_result; }

  private:
    HRESULT m_com;
    HRESULT m_result = E_FAIL;
    UniqueCom<IWICImagingFactory> m_factory;
};

// The file's size in bytes; 0 when it cannot be read.
uint64_t FileBytes(const std::wstring& path);

struct OpenedPicture {
    // The first frame, which keeps its decoder alive.
    UniqueCom<IWICBitmapFrameDecode> frame;
    GUID container{};
    PictureFacts facts;
};

// Opens the file as a picture and reads its facts: its bytes, its size as stored, the orientation
// its metadata gives, and whether it has one frame. The first failure, as an HRESULT; a file that
// decodes as none of the five formats answers WINCODEC_ERR_COMPONENTNOTFOUND.
HRESULT OpenPicture(IWICImagingFactory& wic, const std::wstring& path, OpenedPicture& picture);

// Pixels in memory, rows without padding.
struct PicturePixels {
    PixelSize size;
    WICPixelFormatGUID format{};  // 24bppBGR for JPEG, else 32bppPBGRA
    UINT bytesPerPixel = 0;
    bool transparent = false;  // the picture may have transparent pixels
    std::vector<BYTE> bytes;
    double dpiX = 96;
    double dpiY = 96;
};

// Asked between bands of rows; false stops the decoding with E_ABORT.
using KeepGoing = std::function<bool()>;

// Decodes the picture, scales it with Fant to `shown` (the size it is shown at, upright) and turns
// it as picture.facts.orientation says.
HRESULT DecodeSmaller(IWICImagingFactory& wic,
                      const OpenedPicture& picture,
                      PixelSize shown,
                      PicturePixels& pixels,
                      const KeepGoing& keepGoing);

// Writes the pixels as a new file in the container's format; an existing file is never replaced
// (the failure is then HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)). A failure leaves no file behind.
HRESULT WritePicture(IWICImagingFactory& wic,
                     const PicturePixels& pixels,
                     const GUID& container,
                     const std::wstring& target);

}  // namespace ferryl
