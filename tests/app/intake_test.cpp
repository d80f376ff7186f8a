#include "app/intake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "recording_target.h"
#include "settings/funkcije.h"
#include "support/temp_folder.h"

namespace ferryl::test {
namespace {

using Paths = std::vector<std::wstring>;

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

TEST(Intake, AddsQuotedAndPlainPathsWithTheirDetails) {
    TempFolder folder;
    const std::wstring spaced = folder.WriteFile(L"a  b.txt", std::string(1234, 'x'));
    const std::wstring plain = folder.WriteFile(L"c.txt", "");
    RecordingTarget target;
    AddFilesToList(Quoted(spaced) + L" " + plain, target);

    ASSERT_EQ(target.Paths(), (Paths{spaced, plain}));
    auto& row = target.rows[0];
    EXPECT_EQ(row[kColumnName].ToText(), L"a  b.txt");
    EXPECT_EQ(row[kColumnSize].ToText(), L"1,234");

    // The date is the file's last write time on the user's clock, to the second.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW(spaced.c_str(), GetFileExInfoStandard, &data));
    FILETIME local{};
    SYSTEMTIME time{};
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    ::FileTimeToSystemTime(&local, &time);
    EXPECT_NEAR(row[kColumnDate].ToDate().value, TaggedValue::FromSystemTime(time).ToDate().value, 1.0 / 86400);

    EXPECT_EQ(target.shown, 1);
    EXPECT_EQ(target.restored, 1);
    EXPECT_EQ(target.sendNowEnabled, 1);
    EXPECT_TRUE(target.selectedAfterLastWrite);
}

TEST(Intake, OnlyFilesAreListedAndAnyTextShowsTheWindow) {
    TempFolder folder;
    const std::wstring sub = folder.MakeFolder(L"sub");
    const std::wstring file = folder.WriteFile(L"file.txt");
    folder.WriteFile(L"sub\\inside.txt");
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));
    RecordingTarget target;
    // Nothing at all, a missing file, a relative path, an unreachable share, and a NUL inside the
    // text, which would let the system see an existing file the text does not name.
    for (const std::wstring& text :
         {std::wstring(), std::wstring(1, L'\0'), folder / L"missing.txt", std::wstring(L"file.txt"),
          std::wstring(L"\\\\no-such-server-ferryl\\share\\x.txt"), file + std::wstring(1, L'\0') + L"junk"})
        AddFilesToList(text, target);
    ::SetCurrentDirectoryW(L"C:\\");
    EXPECT_TRUE(target.rows.empty());
    EXPECT_EQ(target.sendNowEnabled, 0);
    EXPECT_EQ(target.shown, 6);
    EXPECT_EQ(target.restored, 6);
    // Folders (a trailing "\" names the folder whatever it holds, in the "\\?\" form too; with and
    // without a trailing blank), wildcards that match the file (DOS's < > " too), streams and
    // devices: none of them is a file Explorer hands over.
    const std::wstring dir = folder.Path() + L"\\";
    AddFilesToList(sub + L"\\ " + Quoted(L"\\\\?\\" + sub + L"\\") + L" " + sub + L" " + dir + L"*.txt " + dir +
                       L"fil?.txt " + dir + L"file<txt " + dir + L"file.tx> " + sub + L"\\  " + sub + L"\\. " + dir +
                       L"file.txt:stream " + dir + L"file.txt::$DATA " + dir + L"CON " + dir +
                       L"nul.txt \\\\.\\CON \\\\?\\GLOBALROOT\\Device\\Null " + file,
                   target);
    EXPECT_EQ(target.Paths(), (Paths{file}));
}

TEST(Intake, AFileIsListedOnceUnderItsFullLongPathWhateverItsSpelling) {
    TempFolder folder;
    const std::wstring file = folder.WriteFile(L"a long name.txt");
    const std::wstring other = folder.WriteFile(L"other.txt");
    const std::wstring shortForm = ShortPathName(file);
    ASSERT_NE(shortForm.find(L'~'), std::wstring::npos) << shortForm;
    RecordingTarget target;
    // Given in its 8.3 form first: the row names the file as Explorer shows it.
    AddFilesToList(shortForm, target);
    ASSERT_EQ(target.Paths(), (Paths{file}));
    EXPECT_EQ(target.rows[0][kColumnName].ToText(), L"a long name.txt");
    // A trailing dot or blank (the re-join leaves one where two blanks stood), "." and ".." parts,
    // "/" for "\", the "\\?\" form and any letter case name the same file.
    const std::wstring dotted = folder.Path() + L"\\.\\sub\\..\\a long name.txt.";
    std::wstring slashed = file, upper = file;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    AddFilesToList(Quoted(dotted) + L" " + Quoted(L"\\\\?\\" + file) + L" " + Quoted(slashed) + L" " + Quoted(upper) +
                       L" " + other + L"  " + file,
                   target);
    EXPECT_EQ(target.Paths(), (Paths{file, other})) << "the blank the re-join glued on is gone too";
    EXPECT_EQ(target.rows[1][kColumnName].ToText(), L"other.txt");

    // A row written in another spelling (the 8.3 form) holds the file as well.
    RecordingTarget written;
    written.rows.resize(1);
    written.rows[0][kColumnPath] = shortForm;
    AddFilesToList(file, written);
    EXPECT_EQ(written.Rows(), 1);
}

TEST(Intake, DuplicatesAreFoundInLongListsAndInRowsWrittenMeanwhile) {
    TempFolder folder;
    RecordingTarget target;
    std::wstring batch;
    Paths expected;
    for (int i = 0; i < 300; ++i)
        batch += L" " + expected.emplace_back(folder.WriteFile(L"f" + std::to_wstring(i) + L".txt"));
    AddFilesToList(batch, target);
    ASSERT_EQ(target.Paths(), expected);

    // A command line taken in while another one is (a message the system dispatches during the
    // intake) lists a file that the outer one names later: it is added once.
    struct NestingTarget : RecordingTarget {
        std::wstring nested;
        void AddRow(const FileEntry& entry) override {
            RecordingTarget::AddRow(entry);
            if (!nested.empty())
                AddFilesToList(std::exchange(nested, std::wstring()), *this);
        }
    } nesting;
    nesting.rows = target.rows;
    const std::wstring first = folder.WriteFile(L"first.txt");
    const std::wstring inner = folder.WriteFile(L"inner.txt");
    nesting.nested = inner;
    AddFilesToList(first + L" " + expected[0] + L" " + inner + L" " + expected[299] + L" " + first, nesting);
    expected.push_back(first);
    expected.push_back(inner);
    EXPECT_EQ(nesting.Paths(), expected);
}

TEST(Intake, StopsAtTheLastRowNumberAndSaysHowManyFilesWereLeftOut) {
    TempFolder folder;
    const std::wstring last = folder.WriteFile(L"last.txt");
    const std::wstring late = folder.WriteFile(L"late.txt");
    const std::wstring later = folder.WriteFile(L"later.txt");
    RecordingTarget target;
    target.FillAllButTheLastRow();
    // A missing file and a listed one are no files left out.
    AddFilesToList(last + L" " + late + L" " + folder.Path() + L"\\missing.txt " + last + L" " + later, target);
    EXPECT_EQ(target.Rows(), kMaxListRows);
    EXPECT_EQ(target.CellText(kMaxListRows, kColumnPath), last);
    EXPECT_EQ(target.notListedReports, (std::vector<long>{2}));
    AddFilesToList(late, target);
    EXPECT_EQ(target.notListedReports, (std::vector<long>{2, 1}));
}

}  // namespace
}  // namespace ferryl::test
