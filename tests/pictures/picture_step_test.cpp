// Pictures made smaller through WIC, with real pictures made by WIC: the size for every choice, the
// formats kept, the orientation applied, the originals untouched, small and unreadable pictures sent
// as they are, cancel and failure leaving nothing behind, and the old folders removed.

#include <gtest/gtest.h>

#include "core/path_rules.h"
#include "core/picture_size.h"
#include "pictures/picture_files.h"
#include "send/picture_step.h"
#include "send/picture_wic.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using test::kQuarters;
using test::ReadBack;
using test::ReadPicture;
using test::TempFolder;

// The quarters' colours of a picture turned a quarter clockwise: top left was bottom left, and so on.
const std::vector<uint32_t> kTurnedClockwise = {kQuarters[2], kQuarters[0], kQuarters[3], kQuarters[1]};

void ExpectColours(const std::vector<uint32_t>& got, const std::vector<uint32_t>& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(test::Near(got[i], expected[i])) << "quarter " << i << ": " << std::hex << got[i];
}

class PictureStepTest : public ::testing::Test {
  protected:
    std::wstring Picture(const std::wstring& name, const GUID& container, UINT width, UINT height) {
        const std::wstring path = originals / name;
        EXPECT_TRUE(test::MakePicture(path, container, width, height));
        return path;
    }
    PictureStepOutcome Run(const std::vector<std::wstring>& files, PictureSize size) {
        return MakePicturesSmaller(files, size, temp.Path() + L"\\", {});
    }
    // The folders of smaller pictures in the temporary folder.
    std::vector<std::wstring> PictureFolders() {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW entry{};
        UniqueFind search(::FindFirstFileW((temp / kPictureFolderPattern).c_str(), &entry));
        if (search) {
            do
                found.push_back(entry.cFileName);
            while (::FindNextFileW(search.get(), &entry));
        }
        return found;
    }

    TempFolder originals, temp;
};

TEST_F(PictureStepTest, EveryChoiceFillsItsBoxTurnedWithThePictureInItsOwnFormatAndName) {
    const std::wstring jpeg = Picture(L"IMG_0412.jpg", GUID_ContainerFormatJpeg, 1600, 1200);
    const std::wstring png = Picture(L"Portrait.png", GUID_ContainerFormatPng, 1200, 1800);
    const std::wstring text = originals.WriteFile(L"notes.txt", "not a picture");
    const std::string jpegBytes = test::ReadFileBytes(jpeg), pngBytes = test::ReadFileBytes(png);
    for (PictureSize size : {PictureSize::Smaller, PictureSize::Small, PictureSize::Medium, PictureSize::Large}) {
        const PixelSize box = PictureBox(size);
        SCOPED_TRACE(box.width);
        const PictureStepOutcome outcome = Run({jpeg, text, png}, size);
        ASSERT_TRUE(outcome.failure.empty()) << outcome.failure;
        ASSERT_EQ(outcome.files.size(), 3u);
        EXPECT_EQ(outcome.files[1], text);
        EXPECT_TRUE(outcome.unreadable.empty());
        struct Expected {
            std::wstring sent;
            const GUID* container;
            double aspect;  // width / height of the original
        };
        const Expected expected[] = {{outcome.files[0], &GUID_ContainerFormatJpeg, 4.0 / 3},
                                     {outcome.files[2], &GUID_ContainerFormatPng, 2.0 / 3}};
        EXPECT_EQ(FileNameOf(outcome.files[0]), L"IMG_0412.jpg");
        EXPECT_EQ(FileNameOf(outcome.files[2]), L"Portrait.png");
        for (const Expected& e : expected) {
            EXPECT_EQ(e.sent.rfind(outcome.folder + L"\\", 0), 0u) << "in the folder of smaller pictures";
            const ReadBack smaller = ReadPicture(e.sent);
            ASSERT_GT(smaller.width, 0u);
            EXPECT_TRUE(::IsEqualGUID(smaller.container, *e.container));
            // The longer side is the box's longer side, the other one in proportion, to a pixel.
            const UINT longer = std::max(smaller.width, smaller.height),
                       shorter = std::min(smaller.width, smaller.height);
            EXPECT_EQ(longer, box.width);
            EXPECT_LE(shorter, box.height);
            EXPECT_NEAR(smaller.width, smaller.height * e.aspect, 1.0);
            ExpectColours(smaller.QuarterColours(), {kQuarters, kQuarters + 4});
        }
    }
    EXPECT_EQ(test::ReadFileBytes(jpeg), jpegBytes) << "the original is only read";
    EXPECT_EQ(test::ReadFileBytes(png), pngBytes);
    EXPECT_EQ(PictureFolders().size(), 4u) << "one folder a send; none is a day old yet";
}

TEST_F(PictureStepTest, BmpGifAndTiffKeepTheirFormatAndTransparentPixelsStayTransparent) {
    const std::pair<const wchar_t*, const GUID*> formats[] = {{L"a.bmp", &GUID_ContainerFormatBmp},
                                                              {L"b.gif", &GUID_ContainerFormatGif},
                                                              {L"c.tif", &GUID_ContainerFormatTiff}};
    std::vector<std::wstring> files;
    for (const auto& [name, container] : formats)
        files.push_back(Picture(name, *container, 960, 720));
    const std::wstring clear = originals / L"clear.png";
    ASSERT_TRUE(test::MakePicture(clear, GUID_ContainerFormatPng, 960, 720, 0));
    files.push_back(clear);
    const PictureStepOutcome outcome = Run(files, PictureSize::Smaller);
    ASSERT_TRUE(outcome.failure.empty()) << outcome.failure;
    EXPECT_TRUE(outcome.unreadable.empty());
    for (size_t i = 0; i < std::size(formats); ++i) {
        const ReadBack smaller = ReadPicture(outcome.files[i]);
        EXPECT_TRUE(::IsEqualGUID(smaller.container, *formats[i].second)) << formats[i].first;
        EXPECT_EQ(smaller.width, 640u) << formats[i].first;
        EXPECT_EQ(smaller.height, 480u) << formats[i].first;
        ExpectColours(smaller.QuarterColours(), {kQuarters, kQuarters + 4});
    }
    const ReadBack png = ReadPicture(outcome.files[3]);
    ASSERT_EQ(png.width, 640u);
    EXPECT_EQ(png.Alpha(png.width / 4, png.height / 4), 0xFF);
    EXPECT_EQ(png.Alpha(png.width * 3 / 4, png.height * 3 / 4), 0);
}

TEST_F(PictureStepTest, APictureWithinTheBoxAndOneThatOnlyPretendsGoAsTheyAre) {
    const std::wstring small = Picture(L"small.jpg", GUID_ContainerFormatJpeg, 640, 400);
    const std::string letter = "This is a letter, not a picture.";
    const std::wstring fake = originals.WriteFile(L"fake.jpg", letter);
    const PictureStepOutcome outcome = Run({small, fake}, PictureSize::Smaller);
    ASSERT_TRUE(outcome.failure.empty()) << outcome.failure;
    EXPECT_EQ(outcome.files, (std::vector<std::wstring>{small, fake})) << "the very files, byte for byte";
    EXPECT_EQ(outcome.unreadable, std::vector<std::wstring>{fake});
    EXPECT_TRUE(outcome.folder.empty());
    EXPECT_TRUE(PictureFolders().empty()) << "nothing written";

    const std::vector<PictureFacts> facts = ReadPictureFacts({small, originals / L"x.txt", fake});
    ASSERT_EQ(facts.size(), 2u) << "pictures only";
    EXPECT_TRUE(facts[0].readable);
    EXPECT_EQ(facts[0].stored, (PixelSize{640, 400}));
    EXPECT_EQ(facts[0].bytes, test::ReadFileBytes(small).size());
    EXPECT_FALSE(facts[1].readable);
    EXPECT_EQ(facts[1].bytes, letter.size());
}

TEST_F(PictureStepTest, TheOrientationTagIsAppliedAndTheTagNotWrittenAgain) {
    // A TIFF stored lying on its side, tagged to be turned a quarter clockwise: Wine's WIC reads a
    // TIFF's tags, so this goes through the whole step.
    const std::wstring tiff = Picture(L"scan.tif", GUID_ContainerFormatTiff, 1200, 800);
    ASSERT_TRUE(test::TagOrientation(tiff, 6));
    const PictureStepOutcome outcome = Run({tiff}, PictureSize::Smaller);
    ASSERT_TRUE(outcome.failure.empty()) << outcome.failure;
    const ReadBack turned = ReadPicture(outcome.files[0]);
    EXPECT_EQ(turned.width, 427u);
    EXPECT_EQ(turned.height, 640u);
    ExpectColours(turned.QuarterColours(), kTurnedClockwise);
    EXPECT_EQ(ReadPictureFacts({outcome.files[0]})[0].orientation, Orientation::Normal) << "upright now";
}

// WIC reads a JPEG's Exif orientation on Windows; Wine's JPEG decoder gives no metadata
// (GetMetadataByName answers WINCODEC_ERR_PROPERTYNOTFOUND). So the JPEG's turning is checked at the
// step's seam, with the orientation the tag holds, and the whole step must turn it exactly where the
// system's own reading of the tag finds it.
TEST_F(PictureStepTest, AJpegTurnsAsItsExifTagSays) {
    const std::wstring jpeg = Picture(L"phone.jpg", GUID_ContainerFormatJpeg, 1600, 1200);
    ASSERT_TRUE(test::TagOrientation(jpeg, 6));

    WicFactory wic;
    ASSERT_TRUE(wic.get());
    OpenedPicture picture;
    ASSERT_EQ(OpenPicture(*wic.get(), jpeg, picture), S_OK);
    const bool systemReadsTheTag = picture.facts.orientation == Orientation::Rotate90;
    picture.facts.orientation = Orientation::Rotate90;
    PicturePixels pixels;
    ASSERT_EQ(DecodeSmaller(*wic.get(), picture, {480, 640}, pixels, {}), S_OK);
    ASSERT_EQ(WritePicture(*wic.get(), pixels, picture.container, temp / L"turned.jpg"), S_OK);
    const ReadBack turned = ReadPicture(temp / L"turned.jpg");
    EXPECT_EQ(turned.width, 480u);
    EXPECT_EQ(turned.height, 640u);
    ExpectColours(turned.QuarterColours(), kTurnedClockwise);

    // The reading, checked against the system's own reader of the same tag.
    UniqueCom<IWICMetadataQueryReader> reader;
    PROPVARIANT value;
    ::PropVariantInit(&value);
    const bool tagFound = SUCCEEDED(picture.frame.get()->GetMetadataQueryReader(reader.put())) &&
                          SUCCEEDED(reader.get()->GetMetadataByName(L"/app1/ifd/{ushort=274}", &value));
    ::PropVariantClear(&value);
    EXPECT_EQ(systemReadsTheTag, tagFound);
    picture.frame.reset();
    const ReadBack sent = ReadPicture(Run({jpeg}, PictureSize::Smaller).files[0]);
    EXPECT_EQ(sent.width, tagFound ? 480u : 640u);
}

// The scaling is WIC's Fant, checked against the system's own scaler: the smaller picture of fine
// stripes is what that scaler makes of them, and where it mixes pixels as Fant does (Windows), an
// even grey. Wine answers S_OK to Fant but takes the nearest pixel, so there only the first holds.
TEST_F(PictureStepTest, TheScalingIsTheSystemsFant) {
    constexpr UINT kWidth = 1280, kHeight = 960;
    std::vector<BYTE> stripes(size_t{kWidth} * kHeight * 4, 0xFF);
    for (size_t pixel = 0; pixel < size_t{kWidth} * kHeight; pixel += 2)
        std::fill_n(stripes.begin() + pixel * 4, 3, 0);
    const std::wstring path = originals / L"stripes.png";
    ASSERT_TRUE(test::WritePixels(path, GUID_ContainerFormatPng, kWidth, kHeight, stripes));
    const ReadBack smaller = ReadPicture(Run({path}, PictureSize::Smaller).files[0]);
    ASSERT_EQ(smaller.width, 640u);

    IWICImagingFactory* wic = test::TestFactory();
    UniqueCom<IWICBitmapDecoder> decoder;
    UniqueCom<IWICBitmapFrameDecode> frame;
    UniqueCom<IWICFormatConverter> converter;
    UniqueCom<IWICBitmapScaler> scaler;
    std::vector<BYTE> expected(size_t{640} * 480 * 4);
    ASSERT_EQ(wic->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                             decoder.put()),
              S_OK);
    ASSERT_EQ(decoder.get()->GetFrame(0, frame.put()), S_OK);
    ASSERT_EQ(wic->CreateFormatConverter(converter.put()), S_OK);
    // Premultiplied, as the step scales: for these opaque pixels the same values as BGRA.
    ASSERT_EQ(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                          0, WICBitmapPaletteTypeCustom),
              S_OK);
    ASSERT_EQ(wic->CreateBitmapScaler(scaler.put()), S_OK);
    ASSERT_EQ(scaler.get()->Initialize(converter.get(), 640, 480, WICBitmapInterpolationModeFant), S_OK);
    ASSERT_EQ(scaler.get()->CopyPixels(nullptr, 640 * 4, static_cast<UINT>(expected.size()), expected.data()), S_OK);
    EXPECT_TRUE(smaller.bgra == expected) << "the system's Fant, and nothing else, made it";

    const bool fantMixes = expected[0] > 64 && expected[0] < 192;
    const uint32_t middle = smaller.Colour(320, 240);
    EXPECT_EQ(test::Near(middle, 0x808080), fantMixes) << std::hex << middle;
}

// Wine's JPEG encoder takes the quality and ignores it (every quality gives the same bytes), so the
// quality is checked where the step hands it over: the encoder's own options.
TEST_F(PictureStepTest, JpegIsWrittenAtQuality85) {
    WicFactory wic;
    UniqueCom<IStream> stream;
    UniqueCom<IWICBitmapEncoder> encoder;
    UniqueCom<IWICBitmapFrameEncode> frame;
    UniqueCom<IPropertyBag2> options;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(wic.get()->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put()), S_OK);
    ASSERT_EQ(encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache), S_OK);
    ASSERT_EQ(encoder.get()->CreateNewFrame(frame.put(), options.put()), S_OK);
    ASSERT_EQ(SetEncoderOptions(*options.get(), GUID_ContainerFormatJpeg), S_OK);
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    ::VariantInit(&value);
    HRESULT itemResult = E_FAIL;
    ASSERT_EQ(options.get()->Read(1, &option, nullptr, &value, &itemResult), S_OK);
    EXPECT_EQ(value.vt, VT_R4);
    EXPECT_FLOAT_EQ(value.fltVal, 0.85f);
}

TEST_F(PictureStepTest, PicturesOfOneNameFromTwoFoldersBothKeepTheName) {
    const std::wstring first = Picture(L"IMG_0001.jpg", GUID_ContainerFormatJpeg, 1600, 1200);
    const std::wstring second = originals.MakeFolder(L"other") + L"\\IMG_0001.JPG";
    ASSERT_TRUE(test::MakePicture(second, GUID_ContainerFormatJpeg, 1200, 1600));
    const PictureStepOutcome outcome = Run({first, second}, PictureSize::Small);
    ASSERT_TRUE(outcome.failure.empty()) << outcome.failure;
    EXPECT_EQ(outcome.files[0], outcome.folder + L"\\IMG_0001.jpg");
    EXPECT_EQ(outcome.files[1], outcome.folder + L"\\2\\IMG_0001.JPG");
    EXPECT_EQ(ReadPicture(outcome.files[0]).width, 800u);
    EXPECT_EQ(ReadPicture(outcome.files[1]).width, 600u);
}

TEST_F(PictureStepTest, CancelAndFailureLeaveNothingWrittenAndTheOriginalsToSend) {
    const std::vector<std::wstring> files = {Picture(L"a.jpg", GUID_ContainerFormatJpeg, 1600, 1200),
                                             Picture(L"b.png", GUID_ContainerFormatPng, 1600, 1200)};
    // Cancelled while the second picture is decoded (its second call: the first comes before it is
    // opened): the first one's file is gone again.
    std::vector<std::wstring> seen;
    int callsForSecond = 0;
    uint64_t lastTotal = 0;
    const PictureStepOutcome cancelled =
        MakePicturesSmaller(files, PictureSize::Medium, temp.Path() + L"\\",
                            [&](uint64_t done, uint64_t total, const std::wstring& current) {
                                if (seen.empty() || seen.back() != current)
                                    seen.push_back(current);
                                lastTotal = total;
                                EXPECT_LE(done, total);
                                return current != files[1] || ++callsForSecond < 2;
                            });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(seen, files);
    EXPECT_EQ(callsForSecond, 2);
    EXPECT_EQ(lastTotal, test::ReadFileBytes(files[0]).size() + test::ReadFileBytes(files[1]).size());
    EXPECT_EQ(cancelled.files, files);
    EXPECT_TRUE(cancelled.folder.empty());
    EXPECT_TRUE(PictureFolders().empty());

    // A temporary folder that is not there: said in words, and the originals stay to send.
    const PictureStepOutcome failed = MakePicturesSmaller(files, PictureSize::Medium, temp / L"gone\\",
                                                          [](uint64_t, uint64_t, const std::wstring&) { return true; });
    EXPECT_FALSE(failed.cancelled);
    EXPECT_NE(failed.failure.find(L"cannot be written"), std::wstring::npos) << failed.failure;
    EXPECT_EQ(failed.files, files);
}

// Sets a folder's last-written time this many hours back.
void AgeFolder(const std::wstring& folder, int hours) {
    UniqueFile handle(::CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(handle);
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(hours) * 60 * 60 * 10'000'000;
    const FILETIME then{time.LowPart, time.HighPart};
    ASSERT_TRUE(::SetFileTime(handle.get(), nullptr, nullptr, &then));
}

TEST_F(PictureStepTest, OnlyFoldersOfSmallerPicturesADayOldAreRemoved) {
    const std::wstring old = temp.MakeFolder(PictureFolderName(1));
    temp.WriteFile(PictureFolderName(1) + L"\\IMG.jpg");
    temp.MakeFolder(PictureFolderName(1) + L"\\2");
    temp.WriteFile(PictureFolderName(1) + L"\\2\\IMG.jpg");
    const std::wstring recent = temp.MakeFolder(PictureFolderName(2));
    // Someone else's folder inside, and folders that are no folders of smaller pictures.
    const std::wstring foreign = temp.MakeFolder(PictureFolderName(3));
    temp.MakeFolder(PictureFolderName(3) + L"\\Holiday");
    const std::wstring copies = temp.MakeFolder(L"FerrylPictures-copies");
    const std::wstring copied = temp.WriteFile(L"IMG.jpg");
    for (const std::wstring& folder : {old, foreign, copies})
        AgeFolder(folder, 25);
    AgeFolder(recent, 23);
    const std::wstring kept = temp.MakeFolder(PictureFolderName(4));
    AgeFolder(kept, 48);

    RemoveOldPictureFolders(temp.Path() + L"\\", kept);
    EXPECT_EQ(::GetFileAttributesW(old.c_str()), INVALID_FILE_ATTRIBUTES);
    for (const std::wstring& stays : {recent, foreign, copies, copied, kept})
        EXPECT_NE(::GetFileAttributesW(stays.c_str()), INVALID_FILE_ATTRIBUTES) << stays;

    // And the step itself removes them once it has written its own.
    AgeFolder(recent, 25);
    const PictureStepOutcome outcome =
        Run({Picture(L"a.jpg", GUID_ContainerFormatJpeg, 900, 700)}, PictureSize::Smaller);
    EXPECT_EQ(::GetFileAttributesW(recent.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW(outcome.folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace ferryl
