// Pictures made smaller: 20 photographs of 4000 × 3000 pixels made "Medium" (1024 × 768) by the
// picture step (decode, Fant, JPEG at quality 85, into the temporary folder), against WIC decoding
// the same pictures alone, in the same run. The two alternate, each timed 3 rounds; the fastest
// round of each counts, so that the machine's load falls on both alike.

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shellapi.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "send/picture_step.h"
#include "send/picture_wic.h"

namespace {

using namespace ferryl;
using Clock = std::chrono::steady_clock;
constexpr UINT kWidth = 4000;
constexpr UINT kHeight = 3000;
constexpr int kPictures = 20;
constexpr int kRounds = 3;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// A photograph's worth of detail: gradients and noise, which JPEG cannot squeeze to nothing.
bool MakePhoto(IWICImagingFactory& wic, const std::wstring& path) {
    std::vector<BYTE> pixels(size_t{kWidth} * kHeight * 3);
    uint32_t noise = 12345;
    for (UINT y = 0; y < kHeight; ++y) {
        for (UINT x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245 + 12345;
            BYTE* pixel = &pixels[(size_t{y} * kWidth + x) * 3];
            const int grain = static_cast<int>((noise >> 16) & 31) - 16;
            pixel[0] = static_cast<BYTE>(std::clamp(static_cast<int>(x * 255 / kWidth) + grain, 0, 255));
            pixel[1] = static_cast<BYTE>(std::clamp(static_cast<int>(y * 255 / kHeight) + grain, 0, 255));
            pixel[2] = static_cast<BYTE>(std::clamp(static_cast<int>((x ^ y) & 255) + grain, 0, 255));
        }
    }
    UniqueCom<IWICStream> stream;
    UniqueCom<IWICBitmapEncoder> encoder;
    UniqueCom<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(wic.CreateStream(stream.put())) &&
           SUCCEEDED(stream.get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(wic.CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) &&
           SUCCEEDED(encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder.get()->CreateNewFrame(frame.put(), nullptr)) &&
           SUCCEEDED(frame.get()->Initialize(nullptr)) && SUCCEEDED(frame.get()->SetSize(kWidth, kHeight)) &&
           SUCCEEDED(frame.get()->SetPixelFormat(&format)) &&
           SUCCEEDED(frame.get()->WritePixels(kHeight, kWidth * 3, static_cast<UINT>(pixels.size()), pixels.data())) &&
           SUCCEEDED(frame.get()->Commit()) && SUCCEEDED(encoder.get()->Commit());
}

// The yardstick: every pixel of the picture decoded, nothing else.
bool DecodeAlone(IWICImagingFactory& wic, const std::wstring& path, std::vector<BYTE>& buffer) {
    UniqueCom<IWICBitmapDecoder> decoder;
    UniqueCom<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (FAILED(wic.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                             decoder.put())) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())) || FAILED(frame.get()->GetSize(&width, &height)))
        return false;
    buffer.resize(size_t{width} * height * 3);
    return SUCCEEDED(frame.get()->CopyPixels(nullptr, width * 3, static_cast<UINT>(buffer.size()), buffer.data()));
}

void RemoveFolder(const std::wstring& folder) {
    std::wstring from = folder + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&operation);
}

}  // namespace

int wmain() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"ferryl-bench-pictures-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring output = folder + L"\\out\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::CreateDirectoryW(output.c_str(), nullptr);

    WicFactory factory;
    if (!factory.get()) {
        std::fprintf(stderr, "WIC is not available (0x%08lX)\n", static_cast<unsigned long>(factory.Result()));
        return 1;
    }
    std::vector<std::wstring> files;
    for (int i = 0; i < kPictures; ++i)
        files.push_back(folder + L"\\IMG_" + std::to_wstring(1000 + i) + L".jpg");
    // One photograph made, copied for the others: each is still a file of its own to decode.
    if (!MakePhoto(*factory.get(), files[0])) {
        std::fprintf(stderr, "the pictures cannot be made\n");
        return 1;
    }
    for (int i = 1; i < kPictures; ++i)
        ::CopyFileW(files[0].c_str(), files[i].c_str(), FALSE);
    const double megabytes = static_cast<double>(FileBytes(files[0])) / 1e6;

    double decodeBest = 1e9, stepBest = 1e9;
    std::vector<BYTE> buffer;
    for (int round = 0; round < kRounds; ++round) {
        Clock::time_point start = Clock::now();
        for (const std::wstring& file : files) {
            if (!DecodeAlone(*factory.get(), file, buffer)) {
                std::fprintf(stderr, "WIC cannot decode the pictures\n");
                return 1;
            }
        }
        decodeBest = std::min(decodeBest, Seconds(start));

        start = Clock::now();
        const PictureStepOutcome outcome = MakePicturesSmaller(files, PictureSize::Medium, output, {});
        stepBest = std::min(stepBest, Seconds(start));
        if (!outcome.failure.empty() || !outcome.unreadable.empty() || outcome.folder.empty()) {
            std::fprintf(stderr, "the step failed: %ls\n", outcome.failure.c_str());
            return 1;
        }
        RemoveFolder(outcome.folder);
    }
    RemoveFolder(folder);

    std::printf("%d pictures of %u x %u (JPEG, %.1f MB each), fastest of %d rounds:\n", kPictures, kWidth, kHeight,
                megabytes, kRounds);
    std::printf("  WIC decoding alone:        %7.3f s  (%.0f ms a picture)\n", decodeBest,
                decodeBest * 1000 / kPictures);
    std::printf("  made Medium (1024 x 768):  %7.3f s  (%.0f ms a picture)\n", stepBest, stepBest * 1000 / kPictures);
    std::printf("  ratio:                     %7.2f\n", stepBest / decodeBest);
    ::CoUninitialize();
    return 0;
}
