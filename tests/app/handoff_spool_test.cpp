// The spool folder with real files: what a later start keeps there and a receiver takes in.

#include "app/handoff_spool.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/continue_on_error.h"
#include "common/unique_handle.h"
#include "core/handoff_spool_file.h"
#include "recording_target.h"
#include "support/temp_folder.h"

namespace ferryl::test {
namespace {

using Paths = std::vector<std::wstring>;

// The names in the spool folder, sorted.
Paths SpoolFolderNames() {
    Paths names;
    WIN32_FIND_DATAW entry;
    UniqueFind search(::FindFirstFileW((SpoolFolder() + L"\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = ::FindNextFileW(search.get(), &entry)) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(entry.cFileName);
    }
    std::sort(names.begin(), names.end());
    return names;
}

unsigned long ThisSession() {
    DWORD session = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
    return session;
}

class HandoffSpoolTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const std::wstring& name : SpoolFolderNames())
            ::DeleteFileW((SpoolFolder() + L"\\" + name).c_str());
        ClearFailures();
    }
    // A spool file written as it is, whole or not.
    void WriteSpoolFile(const std::wstring& name, const std::string& bytes) {
        ASSERT_TRUE(
            ::CopyFileW(folder.WriteFile(L"spool", bytes).c_str(), (SpoolFolder() + L"\\" + name).c_str(), FALSE));
    }
    TempFolder folder;
    RecordingTarget target;
};

TEST_F(HandoffSpoolTest, KeptFilesAreListedOldestFirstAndRemovedOnceListed) {
    const std::wstring a = folder.WriteFile(L"a.txt");
    const std::wstring b = folder.WriteFile(L"b b.txt");
    ASSERT_TRUE(KeepHandoff({a}));
    ASSERT_TRUE(KeepHandoff({b, folder / L"gone.txt"}));
    // Not one of this session's whole handoffs: one still written, another session's.
    const std::string other = EncodeSpoolFile({folder.WriteFile(L"other.txt")});
    const std::wstring partial = PartialSpoolFileName(SpoolFileName(ThisSession(), 0, 1, 0));
    const std::wstring otherSession = SpoolFileName(ThisSession() + 1, 0, 1, 0);
    WriteSpoolFile(partial, other);
    WriteSpoolFile(otherSession, other);

    EXPECT_EQ(TakeInKeptHandoffs(target), 2);
    EXPECT_EQ(target.Paths(), (Paths{a, b}));
    Paths left{partial, otherSession};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(SpoolFolderNames(), left);
    EXPECT_EQ(TakeInKeptHandoffs(target), 0) << "taken in once";
}

TEST_F(HandoffSpoolTest, AFileAnotherReceiverHoldsOrThatIsNotWholeStays) {
    const std::wstring a = folder.WriteFile(L"a.txt");
    ASSERT_TRUE(KeepHandoff({a}));
    const Paths kept = SpoolFolderNames();
    ASSERT_EQ(kept.size(), 1u);
    {
        // Another receiver taking it in now: this one passes it by.
        UniqueFile held(::CreateFileW((SpoolFolder() + L"\\" + kept[0]).c_str(), GENERIC_READ | DELETE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(TakeInKeptHandoffs(target), 0);
        EXPECT_EQ(SpoolFolderNames(), kept);
    }
    // Cut short: its paths cannot be known, so it is not removed, and the failure is recorded.
    const std::string whole = EncodeSpoolFile({a});
    const std::wstring damaged = SpoolFileName(ThisSession(), 0, 2, 0);
    WriteSpoolFile(damaged, whole.substr(0, whole.size() - 2));
    ClearFailures();
    EXPECT_EQ(TakeInKeptHandoffs(target), 1);
    EXPECT_EQ(target.Paths(), (Paths{a}));
    EXPECT_EQ(SpoolFolderNames(), (Paths{damaged}));
    ASSERT_EQ(RecentFailures().size(), 1u);
    EXPECT_NE(RecentFailures()[0].description.find(damaged), std::wstring::npos);
}

TEST_F(HandoffSpoolTest, PathsAFullListLeftOutAreKeptAnew) {
    target.FillAllButTheLastRow();
    const std::wstring a = folder.WriteFile(L"a.txt");
    const std::wstring b = folder.WriteFile(L"b.txt");
    ASSERT_TRUE(KeepHandoff({a, b, folder.WriteFile(L"c.txt")}));
    const Paths first = SpoolFolderNames();

    EXPECT_EQ(TakeInKeptHandoffs(target), 1);
    EXPECT_EQ(target.CellText(kMaxListRows, kColumnPath), a);
    EXPECT_EQ(target.notListedReports, (std::vector<long>{2}));
    const Paths second = SpoolFolderNames();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second, first) << "a new file";

    target.rows.erase(target.rows.begin());
    EXPECT_EQ(TakeInKeptHandoffs(target), 1);
    EXPECT_EQ(target.CellText(kMaxListRows, kColumnPath), b);
}

}  // namespace
}  // namespace ferryl::test
