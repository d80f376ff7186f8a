#include "core/picture_size.h"

#include <gtest/gtest.h>

#include <string>

namespace ferryl {
namespace {

using enum PictureSize;

TEST(FittedSize, FillsTheBoxTurnedWithThePictureAndNeverEnlarges) {
    struct Case {
        PixelSize shown;
        PictureSize size;
        PixelSize fitted;
    };
    const Case cases[] = {
        {{4000, 3000}, Smaller, {640, 480}},
        {{4000, 3000}, Small, {800, 600}},
        {{4000, 3000}, Medium, {1024, 768}},
        {{4000, 3000}, Large, {1280, 960}},
        {{4000, 3000}, Original, {4000, 3000}},
        // A portrait picture fits the box stood on end: the same longer side as a landscape one.
        {{3000, 4000}, Medium, {768, 1024}},
        {{3024, 4032}, Large, {960, 1280}},
        {{6000, 4000}, Medium, {1024, 683}},
        {{4000, 6000}, Smaller, {427, 640}},
        {{2000, 2000}, Medium, {768, 768}},
        {{10000, 1000}, Medium, {1024, 102}},
        {{1, 5000}, Medium, {1, 1024}},
        {{1025, 768}, Medium, {1024, 767}},
        // Within the box already, at either orientation: kept.
        {{1024, 768}, Medium, {1024, 768}},
        {{768, 1024}, Medium, {768, 1024}},
        {{600, 400}, Smaller, {600, 400}},
        {{0, 0}, Medium, {0, 0}},
    };
    for (const Case& c : cases) {
        const PixelSize got = FittedSize(c.shown, c.size);
        EXPECT_EQ(got, c.fitted) << c.shown.width << " x " << c.shown.height << " as " << static_cast<int>(c.size)
                                 << " gave " << got.width << " x " << got.height;
    }
}

TEST(FittedSize, EverySizeFitsTheBoxWithinAPixelOfItsAspect) {
    for (PictureSize size : kPictureSizeChoices) {
        if (size == Original)
            continue;
        const PixelSize box = PictureBox(size);
        for (uint32_t w = 1; w <= 9001; w += 250) {
            for (uint32_t h = 1; h <= 9001; h += 250) {
                const PixelSize got = FittedSize({w, h}, size);
                const uint32_t longSide = std::max(got.width, got.height), shortSide = std::min(got.width, got.height);
                ASSERT_LE(longSide, box.width);
                ASSERT_LE(shortSide, box.height);
                ASSERT_LE(got.width, w);
                ASSERT_LE(got.height, h);
                // One side is the exact proportion of the other, rounded, or raised to one pixel.
                const double offHeight = std::abs(double(got.width) * h / w - got.height);
                const double offWidth = std::abs(double(got.height) * w / h - got.width);
                ASSERT_TRUE(std::min(offHeight, offWidth) <= 0.5001 || std::min(got.width, got.height) == 1)
                    << w << " x " << h;
                if (got.width < w || got.height < h) {
                    // Made smaller: it touches the box.
                    ASSERT_TRUE(longSide == box.width || shortSide == box.height) << w << " x " << h;
                }
            }
        }
    }
}

TEST(PictureOrientation, EachTagShowsTheStoredPixelsAsExifDefinesIt) {
    // Stored, two rows of three pixels; a byte of padding ends each row.
    const std::string stored = "abc.def.";
    struct Case {
        uint32_t tag;
        const char* shown;  // rows separated by "/"
    };
    const Case cases[] = {
        {1, "abc/def"},  {2, "cba/fed"},  {3, "fed/cba"},  {4, "def/abc"}, {5, "ad/be/cf"},
        {6, "da/eb/fc"}, {7, "fc/eb/da"}, {8, "cf/be/ad"}, {0, "abc/def"}, {9, "abc/def"},
    };
    for (const Case& c : cases) {
        const Orientation orientation = OrientationFromTag(c.tag);
        const PixelSize size = ShownSize({3, 2}, orientation);
        const auto pixels = OrientPixels(reinterpret_cast<const uint8_t*>(stored.data()), {3, 2}, 4, 1, orientation);
        std::string rows;
        for (uint32_t y = 0; y < size.height; ++y) {
            if (y > 0)
                rows += '/';
            rows.append(pixels.begin() + y * size.width, pixels.begin() + (y + 1) * size.width);
        }
        EXPECT_EQ(rows, c.shown) << "tag " << c.tag;
    }
    // A pixel's bytes move together.
    const std::string wide = "aAbBcC";
    const auto turned =
        OrientPixels(reinterpret_cast<const uint8_t*>(wide.data()), {3, 1}, 6, 2, Orientation::Rotate90);
    EXPECT_EQ(std::string(turned.begin(), turned.end()), "aAbBcC");
    const auto mirrored =
        OrientPixels(reinterpret_cast<const uint8_t*>(wide.data()), {3, 1}, 6, 2, Orientation::MirrorHorizontal);
    EXPECT_EQ(std::string(mirrored.begin(), mirrored.end()), "cCbBaA");
}

TEST(PictureFormatOfName, TheFiveFormatsByExtensionInAnyCase) {
    const std::pair<const wchar_t*, PictureFormat> cases[] = {
        {L"C:\\Photos\\IMG_0412.JPG", PictureFormat::Jpeg},
        {L"a.jpeg", PictureFormat::Jpeg},
        {L"a.jpe", PictureFormat::Jpeg},
        {L"a.JFIF", PictureFormat::Jpeg},
        {L"shot.png", PictureFormat::Png},
        {L"a.bmp", PictureFormat::Bmp},
        {L"a.dib", PictureFormat::Bmp},
        {L"a.gif", PictureFormat::Gif},
        {L"scan.tif", PictureFormat::Tiff},
        {L"scan.TIFF", PictureFormat::Tiff},
        {L"report.pdf", PictureFormat::None},
        {L"photo.jpg.zip", PictureFormat::None},
        {L"C:\\pics.jpg\\notes", PictureFormat::None},
        {L"a.jpg.", PictureFormat::None},
        {L"jpg", PictureFormat::None},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(PictureFormatOfName(name), format) << name;
    EXPECT_TRUE(AnyPictures({L"C:\\a.txt", L"C:\\b.png"}));
    EXPECT_FALSE(AnyPictures({L"C:\\a.txt", L"C:\\b.heic"}));
}

TEST(PictureSizeSetting, ZeroToFourAndEverythingElseIsTheOriginal) {
    for (PictureSize size : kPictureSizeChoices)
        EXPECT_EQ(PictureSizeFromSetting(PictureSizeSetting(size)), size);
    EXPECT_EQ(PictureSizeSetting(Medium), L"3");
    EXPECT_EQ(PictureSizeFromSetting(L"1"), Smaller);
    EXPECT_EQ(PictureSizeFromSetting(L"4"), Large);
    for (const wchar_t* text : {L"", L"5", L"-1", L"03", L"3 ", L"x"})
        EXPECT_EQ(PictureSizeFromSetting(text), Original) << text;
}

TEST(EstimatedBytes, InProportionToThePixelsLeftOrTheFileAsItIs) {
    const PictureFacts photo{L"a.jpg", 3'000'000, true, true, {4000, 3000}, Orientation::Normal};
    // 1024 × 768 of 4000 × 3000 pixels.
    EXPECT_EQ(EstimatedBytes(photo, Medium), 196'608u);
    EXPECT_EQ(EstimatedBytes(photo, Original), 3'000'000u);
    PictureFacts turned = photo;
    turned.stored = {3000, 4000};
    turned.orientation = Orientation::Rotate270;
    EXPECT_EQ(EstimatedBytes(turned, Medium), 196'608u);

    PictureFacts small = photo, unreadable = photo, animated = photo;
    small.stored = {640, 480};
    unreadable.readable = false;
    animated.oneFrame = false;
    for (const PictureFacts& kept : {small, unreadable, animated}) {
        EXPECT_FALSE(IsMadeSmaller(kept, Smaller));
        EXPECT_EQ(EstimatedBytes(kept, Smaller), 3'000'000u);
    }
    EXPECT_EQ(EstimatedBytes({photo, small, unreadable}, Medium), 196'608u + 6'000'000u);
}

TEST(PictureFolderName, SixteenHexDigitsAfterThePrefix) {
    EXPECT_EQ(PictureFolderName(0x0123456789ABCDEFull), L"FerrylPictures-0123456789ABCDEF");
    EXPECT_TRUE(IsPictureFolderName(PictureFolderName(42)));
    EXPECT_TRUE(IsPictureFolderName(L"ferrylpictures-0123456789abcdef"));
    for (const wchar_t* other : {L"FerrylPictures-123", L"FerrylPictures-0123456789ABCDEG",
                                 L"FerrylPictures-0123456789ABCDEF0", L"FerrylDraft-0123456789ABCDEF", L"Photos"})
        EXPECT_FALSE(IsPictureFolderName(other)) << other;
}

}  // namespace
}  // namespace ferryl
