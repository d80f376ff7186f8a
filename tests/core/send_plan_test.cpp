// Send Now's plan: which files go, which cannot and why, the copies' names, and the message's size.

#include "core/send_plan.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <limits>
#include <set>

namespace ferryl {
namespace {

// A file that exists, whose path the code page holds, of this size.
ListedFile File(const std::wstring& path, uint64_t size = 1, std::wstring identity = {}) {
    ListedFile file;
    file.path = path;
    file.exists = true;
    file.size = size;
    file.ansiPath = file.ansiShortPath = file.ansiName = true;
    file.identity = identity.empty() ? path : identity;
    return file;
}

std::vector<size_t> Listed(const SendPlan& plan) {
    std::vector<size_t> indices;
    for (const PlannedFile& file : plan.going)
        indices.push_back(file.listed);
    return indices;
}

TEST(SendPlan, GoneFilesAndPathsAnAnsiReaderCannotOpenAreLeftOutAndNamed) {
    ListedFile gone = File(L"C:\\gone.txt");
    gone.exists = false;
    ListedFile noShortForm = File(L"C:\\\u03A9.txt");
    noShortForm.ansiPath = noShortForm.ansiShortPath = false;
    ListedFile byShortForm = File(L"C:\\\u03A9\u03A9.txt");
    byShortForm.ansiPath = false;
    const SendFacts facts{{File(L"C:\\a.txt"), gone, noShortForm, byShortForm}, true, std::nullopt, 0};

    const SendPlan ansi = PlanSend(facts);
    EXPECT_EQ(Listed(ansi), (std::vector<size_t>{0, 3}));
    EXPECT_EQ(ansi.missing, std::vector<size_t>{1});
    EXPECT_EQ(ansi.unreadable, std::vector<size_t>{2});

    SendFacts unicode = facts;
    unicode.readsAnsi = false;
    const SendPlan wide = PlanSend(unicode);
    EXPECT_EQ(Listed(wide), (std::vector<size_t>{0, 2, 3}));
    EXPECT_EQ(wide.missing, std::vector<size_t>{1});
    EXPECT_TRUE(wide.unreadable.empty());
    for (const PlannedFile& file : wide.going)
        EXPECT_TRUE(file.copy.empty()) << "without Copy To every file goes as it is";
}

TEST(SendPlan, CopiesKeepTheirNamesOrTakeTheNextNumberBeforeTheExtension) {
    // As the file system sees them: case aside.
    const std::set<std::wstring> inFolder{L"report.docx", L"report (2).docx", L"notes"};
    const auto taken = [&](const std::wstring& name) {
        std::wstring lower = name;
        for (wchar_t& c : lower)
            c = static_cast<wchar_t>(std::towlower(c));
        return inFolder.count(lower) != 0;
    };
    const CopyDestination to{L"D:\\dest\\", false, true, true, taken};
    ListedFile there = File(L"D:\\dest\\there.txt");
    there.inFolder = true;
    const SendFacts facts{
        {File(L"C:\\x\\Report.docx", 1, L"one"), File(L"C:\\y\\report.docx", 1, L"two"),
         File(L"C:\\x\\REPORT~1.DOC", 1, L"one"), there, File(L"C:\\x\\notes"), File(L"C:\\x\\plain.txt")},
        false,
        to,
        0};
    const struct {
        bool fresh;
        std::vector<std::wstring> copies;
    } cases[] = {
        // The folder holds the name, and then an earlier copy of this send does (case aside). The
        // same file in another spelling goes as its one copy; a file in the folder goes as it is.
        {false,
         {L"D:\\dest\\Report (3).docx", L"D:\\dest\\report (4).docx", L"D:\\dest\\Report (3).docx", L"",
          L"D:\\dest\\notes (2)", L"D:\\dest\\plain.txt"}},
        // A folder made for this send holds nothing yet.
        {true,
         {L"D:\\dest\\Report.docx", L"D:\\dest\\report (2).docx", L"D:\\dest\\Report.docx", L"", L"D:\\dest\\notes",
          L"D:\\dest\\plain.txt"}},
    };
    for (const auto& c : cases) {
        SendFacts run = facts;
        run.copyTo->fresh = c.fresh;
        const SendPlan plan = PlanSend(run);
        ASSERT_EQ(plan.going.size(), c.copies.size());
        for (size_t i = 0; i < c.copies.size(); ++i)
            EXPECT_EQ(plan.going[i].copy, c.copies[i]) << "fresh " << c.fresh << ", file " << i;
        EXPECT_EQ(plan.going[2].sameAs, std::optional<size_t>(0));
        EXPECT_FALSE(plan.going[1].sameAs);
    }
}

TEST(SendPlan, AnAnsiReaderOpensACopyByTheFoldersPathOrByTheShortForms) {
    const struct {
        bool ansiFolder, ansiShortFolder, ansiName, ansiShortPath, opens;
    } cases[] = {
        {true, false, true, false, true},   // the copy's long path
        {true, true, false, false, false},  // a name outside the code page, no 8.3 form
        {false, true, false, true, true},   // both 8.3 forms
        {false, false, true, true, false},  // a folder no path reaches
    };
    for (const auto& c : cases) {
        ListedFile file = File(L"C:\\x\\a.txt");
        file.ansiPath = false;  // the source's own path does not count: the copy goes
        file.ansiName = c.ansiName;
        file.ansiShortPath = c.ansiShortPath;
        const CopyDestination to{L"D:\\d\\", true, c.ansiFolder, c.ansiShortFolder, nullptr};
        const SendPlan plan = PlanSend(SendFacts{{file}, true, to, 0});
        EXPECT_EQ(plan.going.size(), c.opens ? 1u : 0u)
            << c.ansiFolder << c.ansiShortFolder << c.ansiName << c.ansiShortPath;
        EXPECT_EQ(plan.unreadable.size(), c.opens ? 0u : 1u);
    }
}

TEST(SendPlan, TheEstimateIsFourThirdsOfTheFilesAndAPartEachAgainstTheLimit) {
    EXPECT_EQ(EstimatedMessageBytes(0, 0), 0u);
    EXPECT_EQ(EstimatedMessageBytes(4, 2), 8u + 2048u) << "a started group of three takes four";
    constexpr uint64_t kMost = std::numeric_limits<uint64_t>::max();
    EXPECT_EQ(EstimatedMessageBytes(kMost, 1), kMost) << "no overflow";
    EXPECT_EQ(EstimatedMessageBytes(kMost / 4 * 3, std::numeric_limits<size_t>::max()), kMost);

    ListedFile gone = File(L"C:\\gone", 9000);
    gone.exists = false;
    const SendFacts facts{{File(L"C:\\a", 300), File(L"C:\\b", 3000), gone, File(L"C:\\c", 600), File(L"C:\\d", 3000)},
                          false,
                          std::nullopt,
                          0};
    const uint64_t estimate = EstimatedMessageBytes(6900, 4);
    for (const auto& [limit, over] : {std::pair<uint64_t, bool>{0, false}, {estimate, false}, {estimate - 1, true}}) {
        SendFacts limited = facts;
        limited.sizeLimit = limit;
        const SendPlan plan = PlanSend(limited);
        EXPECT_EQ(plan.estimatedBytes, estimate) << "only the files that go count";
        EXPECT_EQ(plan.overLimit, over) << limit;
        EXPECT_EQ(plan.largest, (std::vector<size_t>{1, 3, 2})) << "largest first, the list's order among equals";
    }

    // Pictures made smaller count with their estimates: b and d are pictures of 3000 bytes and
    // 4000 × 3000 pixels, of which d cannot be read and goes as it is.
    SendFacts limited = facts;
    limited.sizeLimit = estimate - 1;
    SendPlan plan = PlanSend(limited);
    const std::vector<PictureFacts> pictures{{L"C:\\b", 3000, true, true, {4000, 3000}, Orientation::Normal},
                                             {L"C:\\d", 3000, false, true, {}, Orientation::Normal}};
    PlanPictureSize(limited, pictures, PictureSize::Medium, plan);
    EXPECT_EQ(plan.pictureSize, PictureSize::Medium);
    EXPECT_EQ(plan.going[1].bytes, EstimatedBytes(pictures[0], PictureSize::Medium));
    EXPECT_EQ(plan.estimatedBytes, EstimatedMessageBytes(3900 + plan.going[1].bytes, 4));
    EXPECT_FALSE(plan.overLimit);
    EXPECT_EQ(plan.largest, (std::vector<size_t>{3, 2, 0}));
    EXPECT_TRUE(plan.going[3].unreadablePicture);
    EXPECT_FALSE(plan.going[1].unreadablePicture);
}

}  // namespace
}  // namespace ferryl
