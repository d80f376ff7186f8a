#include "core/picture_size.h"

#include <gtest/gtest.h>

#include <string>

namespace ferryl {
namespace {

using enum PictureSize;

TEST(FittedSize, FillsTheBoxTurnedWithThePictureAndNeverEnlarges) {
    EXPECT_EQ(FittedSize({4000, 3000}, Original), (PixelSize{4000, 3000}));
    EXPECT_EQ(FittedSize({0, 0}, Medium), (PixelSize{0, 0}));
    EXPECT_EQ(FittedSize({1025, 768}, Medium), (PixelSize{1024, 767}));
    EXPECT_EQ(FittedSize({9000, 2}, Medium), (PixelSize{1024, 1})) << "never less than a pixel";
    // Every size fits its box (stood on end for a portrait picture, so that every picture gets the
    // same longer side), touches it when made smaller, keeps the aspect within a pixel and never
    // grows.
    for (PictureSize size : {Smaller, Small, Medium, Large}) {
        const PixelSize box = PictureBox(size);
        for (uint32_t w = 1; w <= 9001; w += 250) {
            for (uint32_t h = 1; h <= 9001; h += 250) {
                const PixelSize got = FittedSize({w, h}, size);
                const uint32_t longer = std::max(got.width, got.height), shorter = std::min(got.width, got.height);
                ASSERT_TRUE(longer <= box.width && shorter <= box.height && got.width <= w && got.height <= h)
                    << w << " x " << h;
                const double offHeight = std::abs(double(got.width) * h / w - got.height);
                const double offWidth = std::abs(double(got.height) * w / h - got.width);
                ASSERT_TRUE(std::min(offHeight, offWidth) <= 0.5001 || shorter == 1) << w << " x " << h;
                ASSERT_TRUE((got.width == w && got.height == h) || longer == box.width || shorter == box.height)
                    << w << " x " << h;
            }
        }
    }
}

TEST(PictureOrientation, EachTagShowsTheStoredPixelsAsExifDefinesIt) {
    // Stored, two rows of three pixels; a byte of padding ends each row.
    const std::string stored = "abc.def.";
    const std::pair<uint32_t, const char*> cases[] = {
        {1, "abc/def"},  {2, "cba/fed"},  {3, "fed/cba"},  {4, "def/abc"}, {5, "ad/be/cf"},
        {6, "da/eb/fc"}, {7, "fc/eb/da"}, {8, "cf/be/ad"}, {0, "abc/def"}, {9, "abc/def"},
    };
    for (const auto& [tag, shown] : cases) {
        const Orientation orientation = OrientationFromTag(tag);
        const PixelSize size = ShownSize({3, 2}, orientation);
        const auto pixels = OrientPixels(reinterpret_cast<const uint8_t*>(stored.data()), {3, 2}, 4, 1, orientation);
        std::string rows;
        for (uint32_t y = 0; y < size.height; ++y) {
            if (y > 0)
                rows += '/';
            rows.append(pixels.begin() + y * size.width, pixels.begin() + (y + 1) * size.width);
        }
        EXPECT_EQ(rows, shown) << "tag " << tag;
    }
    // A pixel's bytes move together.
    const std::string wide = "aAbBcC";
    const auto mirrored =
        OrientPixels(reinterpret_cast<const uint8_t*>(wide.data()), {3, 1}, 6, 2, Orientation::MirrorHorizontal);
    EXPECT_EQ(std::string(mirrored.begin(), mirrored.end()), "cCbBaA");
}

TEST(PictureSizeNames, FormatsByExtensionTheSettingAndTheFolders) {
    const std::pair<const wchar_t*, PictureFormat> names[] = {
        {L"C:\\Photos\\IMG_0412.JPG", PictureFormat::Jpeg},
        {L"a.jfif", PictureFormat::Jpeg},
        {L"shot.png", PictureFormat::Png},
        {L"a.dib", PictureFormat::Bmp},
        {L"a.gif", PictureFormat::Gif},
        {L"scan.TIFF", PictureFormat::Tiff},
        {L"photo.jpg.zip", PictureFormat::None},
        {L"C:\\pics.jpg\\notes", PictureFormat::None},
        {L"a.jpg.", PictureFormat::None},
    };
    for (const auto& [name, format] : names)
        EXPECT_EQ(PictureFormatOfName(name), format) << name;

    for (PictureSize size : kPictureSizeChoices)
        EXPECT_EQ(PictureSizeFromSetting(PictureSizeSetting(size)), size);
    for (const wchar_t* text : {L"", L"5", L"-1", L"03", L"3 ", L"x"})
        EXPECT_EQ(PictureSizeFromSetting(text), Original) << text;

    EXPECT_TRUE(IsPictureFolderName(L"ferrylpictures-0123456789abcdef"));
    EXPECT_TRUE(IsPictureFolderName(PictureFolderName(0xFEDCBA9876543210ull)));
    for (const wchar_t* other : {L"FerrylPictures-123", L"FerrylPictures-0123456789ABCDEG",
                                 L"FerrylPictures-0123456789ABCDEF0", L"FerrylDraft-0123456789ABCDEF"})
        EXPECT_FALSE(IsPictureFolderName(other)) << other;
}

TEST(EstimatedBytes, InProportionToThePixelsLeftOrTheFileAsItIs) {
    const PictureFacts photo{L"a.jpg", 3'000'000, true, true, {4000, 3000}, Orientation::Normal};
    EXPECT_EQ(EstimatedBytes(photo, Medium), 196'608u) << "1024 x 768 of 4000 x 3000 pixels";
    PictureFacts turned = photo, small = photo, unreadable = photo, animated = photo;
    turned.stored = {3000, 4000};
    turned.orientation = Orientation::Rotate270;
    EXPECT_EQ(EstimatedBytes(turned, Medium), 196'608u);
    small.stored = {640, 480};
    unreadable.readable = false;
    animated.oneFrame = false;
    for (const PictureFacts& kept : {small, unreadable, animated}) {
        EXPECT_FALSE(IsMadeSmaller(kept, Smaller));
        EXPECT_EQ(EstimatedBytes(kept, Smaller), 3'000'000u);
    }
    EXPECT_EQ(EstimatedBytes({photo, small}, Medium), 196'608u + 3'000'000u);
    EXPECT_EQ(EstimatedBytes({photo, small}, Original), 6'000'000u);
}

}  // namespace
}  // namespace ferryl
