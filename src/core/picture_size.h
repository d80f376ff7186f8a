#pragma once
// Pictures made smaller on the way to a message: the choices Windows' own "Mail recipient" offers,
// the box each fits a picture into, which files are pictures, and how large they come out.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture_orientation.h"

namespace ferryl {

// The setting PictureSize holds the number: 0 original, 1 to 4 from smaller to large.
enum class PictureSize { Original = 0, Smaller = 1, Small = 2, Medium = 3, Large = 4 };

// The choices in the order the dialog lists them, the original last as in Windows' dialog.
inline constexpr PictureSize kPictureSizeChoices[] = {PictureSize::Smaller, PictureSize::Small, PictureSize::Medium,
                                                      PictureSize::Large, PictureSize::Original};

// The box of a choice, wider than high (640 × 480 for Smaller); 0 × 0 for the original size.
PixelSize PictureBox(PictureSize size);

// The choice a setting's text stands for; anything but "0" to "4" is the original size.
PictureSize PictureSizeFromSetting(std::wstring_view text);
std::wstring PictureSizeSetting(PictureSize size);

// The size a picture, as it is shown, is made for a choice. The box turns with the picture (a
// portrait picture fits 768 × 1024 for Medium), so that every picture gets the same longer side,
// as Windows' dialog does; the aspect is kept and a picture is never made larger. A picture that
// fits already, and every picture for the original size, keeps its size.
PixelSize FittedSize(PixelSize shown, PictureSize size);

// The picture formats that the Windows Imaging Component both decodes and encodes.
enum class PictureFormat { None, Jpeg, Png, Bmp, Gif, Tiff };

// A file is a picture by its name's extension (".jpg", ".png", ...), in any case.
PictureFormat PictureFormatOfName(std::wstring_view fileName);
bool IsPictureName(std::wstring_view fileName);
bool AnyPictures(const std::vector<std::wstring>& paths);

// What is known of one picture before it is made smaller.
struct PictureFacts {
    std::wstring path;
    uint64_t bytes = 0;
    // The picture could be opened as one of the formats above; else it is sent as it is.
    bool readable = false;
    // An animated GIF or a TIFF of several pages is sent as it is: its first frame alone would lose
    // the rest.
    bool oneFrame = true;
    PixelSize stored;
    Orientation orientation = Orientation::Normal;
};

// True when the picture is made smaller for the choice.
bool IsMadeSmaller(const PictureFacts& picture, PictureSize size);

// The estimated bytes of the picture sent for a choice: its own when it goes as it is, else its
// bytes in proportion to the pixels left.
uint64_t EstimatedBytes(const PictureFacts& picture, PictureSize size);
uint64_t EstimatedBytes(const std::vector<PictureFacts>& pictures, PictureSize size);

// The folders of smaller pictures in the temporary folder: "FerrylPictures-" and 16 hexadecimal
// digits, so that no folder of anyone else's is taken for one.
std::wstring PictureFolderName(uint64_t seed);
bool IsPictureFolderName(std::wstring_view name);
inline constexpr wchar_t kPictureFolderPattern[] = L"FerrylPictures-*";

}  // namespace ferryl
