// Pictures made smaller through WIC, with real pictures made by WIC: every choice and format, what
// goes as it is, the orientation, cancel and failure leaving nothing behind, and the old folders
// removed.

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>

#include "pictures/picture_files.h"
#include "send/picture_step.h"
#include "settings/funkcije.h"
#include "support/temp_folder.h"

namespace ferryl {
namespace {

using namespace test;

// The quarters of a picture turned a quarter clockwise: top left was bottom left, and so on.
const std::vector<uint32_t> kTurnedClockwise = {kQuarters[2], kQuarters[0], kQuarters[3], kQuarters[1]};

void ExpectColours(const ReadBack& picture, const std::vector<uint32_t>& expected) {
    ASSERT_GT(picture.width, 0u);
    const std::vector<uint32_t> got = picture.QuarterColours();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(Near(got[i], expected[i])) << "quarter " << i << ": " << std::hex << got[i];
}

class PictureStepTest : public ::testing::Test {
  protected:
    std::wstring Picture(const std::wstring& name, const GUID& container, UINT width, UINT height, BYTE alpha = 0xFF) {
        const std::wstring path = originals / name;
        EXPECT_TRUE(MakePicture(path, container, width, height, alpha)) << name;
        return path;
    }
    PictureStepOutcome Run(const std::vector<std::wstring>& files,
                           PictureSize size,
                           const PictureProgress& progress = {}) {
        return MakePicturesSmaller(files, size, temp.Path() + L"\\", progress);
    }
    TempFolder originals, temp;
};

TEST_F(PictureStepTest, EveryChoiceFitsItsBoxTurnedWithThePictureInItsOwnFormatUnderItsName) {
    originals.MakeFolder(L"other");
    // One name from two folders: the second goes into a numbered folder, under its name. The last
    // picture has a transparent quarter.
    const struct {
        const wchar_t* name;
        const GUID* container;
        UINT width, height;
        const wchar_t* sent;  // in the folder of smaller pictures
    } pictures[] = {
        {L"IMG_0412.jpg", &GUID_ContainerFormatJpeg, 1600, 1200, L"IMG_0412.jpg"},
        {L"other\\IMG_0412.JPG", &GUID_ContainerFormatJpeg, 1200, 1600, L"2\\IMG_0412.JPG"},
        {L"Portrait.png", &GUID_ContainerFormatPng, 1200, 1800, L"Portrait.png"},
        {L"a.bmp", &GUID_ContainerFormatBmp, 1440, 1080, L"a.bmp"},
        {L"b.gif", &GUID_ContainerFormatGif, 1440, 1080, L"b.gif"},
        {L"c.tif", &GUID_ContainerFormatTiff, 1440, 1080, L"c.tif"},
        {L"clear.png", &GUID_ContainerFormatPng, 1440, 1080, L"clear.png"},
    };
    // Go as they are: no picture, one within every box, one that only pretends, and a bitmap cut
    // short, whose header reads and whose pixels do not.
    const std::wstring fake = originals.WriteFile(L"fake.jpg", "This is a letter, not a picture.");
    const std::wstring cut = originals.WriteFile(
        L"cut.bmp", ReadFileBytes(Picture(L"whole.bmp", GUID_ContainerFormatBmp, 1600, 1200)).substr(0, 200));
    const std::vector<std::wstring> asTheyAre{originals.WriteFile(L"notes.txt", "not a picture"),
                                              Picture(L"small.jpg", GUID_ContainerFormatJpeg, 640, 400), fake, cut};
    std::vector<std::wstring> files = asTheyAre;
    for (const auto& p : pictures)
        files.push_back(Picture(p.name, *p.container, p.width, p.height, &p == std::end(pictures) - 1 ? 0 : 0xFF));
    for (PictureSize size : {PictureSize::Smaller, PictureSize::Small, PictureSize::Medium, PictureSize::Large}) {
        const PixelSize box = PictureBox(size);
        SCOPED_TRACE(box.width);
        const PictureStepOutcome outcome = Run(files, size);
        ASSERT_TRUE(outcome.failure.empty()) << outcome.failure;
        EXPECT_EQ(outcome.unreadable, (std::vector<std::wstring>{fake, cut}));
        ASSERT_EQ(outcome.files.size(), files.size());
        EXPECT_TRUE(std::equal(asTheyAre.begin(), asTheyAre.end(), outcome.files.begin())) << "the very files";
        for (size_t i = 0; i < std::size(pictures); ++i) {
            EXPECT_EQ(outcome.files[asTheyAre.size() + i], outcome.folder + L"\\" + pictures[i].sent);
            const ReadBack smaller = ReadPicture(outcome.files[asTheyAre.size() + i]);
            EXPECT_TRUE(::IsEqualGUID(smaller.container, *pictures[i].container)) << pictures[i].sent;
            // The longer side is the box's longer side, the other one in proportion, to a pixel.
            EXPECT_EQ(std::max(smaller.width, smaller.height), box.width) << pictures[i].sent;
            EXPECT_LE(std::min(smaller.width, smaller.height), box.height);
            EXPECT_NEAR(smaller.width * pictures[i].height, smaller.height * pictures[i].width, pictures[i].height)
                << pictures[i].sent;
            // The transparent quarter's colour is gone with its alpha.
            ExpectColours(smaller, {kQuarters, kQuarters + (i + 1 < std::size(pictures) ? 4 : 3)});
        }
        const ReadBack clear = ReadPicture(outcome.files.back());
        EXPECT_EQ(clear.Alpha(clear.width / 4, clear.height / 4), 0xFF);
        EXPECT_EQ(clear.Alpha(clear.width * 3 / 4, clear.height * 3 / 4), 0) << "transparent pixels stay so";
    }
}

// Wine's WIC reads a TIFF's orientation tag (not a JPEG's), so a TIFF goes through the whole step;
// pixels of any width are turned alike (the orientation unit test).
TEST_F(PictureStepTest, TheOrientationTagTurnsThePictureUpright) {
    const std::wstring tiff = Picture(L"scan.tif", GUID_ContainerFormatTiff, 1200, 800);
    ASSERT_TRUE(TagOrientation(tiff, 6));
    const std::wstring sent = Run({tiff}, PictureSize::Smaller).files[0];
    ReadBack turned = ReadPicture(sent);
    EXPECT_EQ(turned.width, 427u);
    EXPECT_EQ(turned.height, 640u);
    ExpectColours(turned, kTurnedClockwise);
    EXPECT_EQ(ReadPictureFacts({sent})[0].orientation, Orientation::Normal) << "the tag is not written again";
}

TEST_F(PictureStepTest, CancelAndFailureLeaveNothingWrittenAndTheFilesToGoAsTheyAre) {
    const std::vector<std::wstring> files = {Picture(L"a.jpg", GUID_ContainerFormatJpeg, 1600, 1200),
                                             Picture(L"b.png", GUID_ContainerFormatPng, 1600, 1200)};
    // Cancelled while the second picture is decoded (its second report: the first comes before it
    // is opened): the first one's smaller picture goes again.
    std::vector<std::wstring> seen;
    uint64_t total = 0;
    const PictureStepOutcome cancelled =
        Run(files, PictureSize::Medium, [&](uint64_t done, uint64_t all, const std::wstring& current) {
            EXPECT_LE(done, total = all);
            seen.push_back(current);
            return std::count(seen.begin(), seen.end(), files[1]) < 2;
        });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(seen.front(), files[0]);
    EXPECT_EQ(total, ReadFileBytes(files[0]).size() + ReadFileBytes(files[1]).size());
    EXPECT_EQ(cancelled.files, files);
    EXPECT_TRUE(cancelled.folder.empty() && ::PathIsDirectoryEmptyW(temp.Path().c_str()));

    // A temporary folder that is not there: said in words.
    const PictureStepOutcome failed = MakePicturesSmaller(files, PictureSize::Medium, temp / L"gone\\", {});
    EXPECT_FALSE(failed.cancelled);
    EXPECT_NE(failed.failure.find(L"cannot be written"), std::wstring::npos) << failed.failure;
    EXPECT_EQ(failed.files, files);
}

// Sets a folder's last-written time this many hours back.
void AgeFolder(const std::wstring& folder, int hours) {
    UniqueFile handle(::CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(hours) * 60 * 60 * 10'000'000;
    const FILETIME then{time.LowPart, time.HighPart};
    ASSERT_TRUE(handle && ::SetFileTime(handle.get(), nullptr, nullptr, &then)) << folder;
}

TEST_F(PictureStepTest, OnlyFoldersOfSmallerPicturesADayOldAreRemoved) {
    const std::wstring old = temp.MakeFolder(PictureFolderName(1));
    temp.MakeFolder(PictureFolderName(1) + L"\\2");
    temp.WriteFile(PictureFolderName(1) + L"\\2\\IMG.jpg");
    const std::wstring recent = temp.MakeFolder(PictureFolderName(2));
    // Someone else's folder inside, a folder of another name, the folder kept.
    const std::wstring foreign = temp.MakeFolder(PictureFolderName(3));
    temp.MakeFolder(PictureFolderName(3) + L"\\Holiday");
    const std::wstring copies = temp.MakeFolder(L"FerrylPictures-copies");
    const std::wstring kept = temp.MakeFolder(PictureFolderName(4));
    for (const std::wstring& folder : {old, foreign, copies, kept})
        AgeFolder(folder, 25);
    AgeFolder(recent, 23);
    RemoveOldPictureFolders(temp.Path() + L"\\", kept);
    EXPECT_FALSE(FolderExists(old));
    for (const std::wstring& stays : {recent, foreign, copies, kept})
        EXPECT_TRUE(FolderExists(stays)) << stays;
}

}  // namespace
}  // namespace ferryl
