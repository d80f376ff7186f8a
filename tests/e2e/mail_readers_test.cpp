// End to end: files with awkward names go to stand-ins of each kind of mail program, read back as
// that program reads its arguments: every path must open the very file listed, with its bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "e2e/ferryl_session.h"

namespace ferryl::test {
namespace {

// The file a path opens, by volume and file index; nothing when it opens none.
std::optional<std::tuple<DWORD, DWORD, DWORD>> Identity(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return std::make_tuple(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
}

struct Listed {
    const wchar_t* label;
    std::wstring path;
    std::string bytes;
};

class MailReadersTest : public FerrylSession {
  protected:
    void SetUp() override {
        FerrylSession::SetUp();
        const std::wstring longName = std::wstring(130, L'l') + L"\\" + std::wstring(110, L'm');
        files.MakeFolder(std::wstring(130, L'l'));
        files.MakeFolder(longName);
        const std::tuple<const wchar_t*, const TempFolder&, std::wstring> names[] = {
            {L"blank", files, L"a b.txt"},
            {L"comma", files, L"x,1.txt"},
            {L"apostrophe", files, L"it's.txt"},
            {L"percent", files, L"100%.txt"},
            {L"hash", files, L"#1.txt"},
            {L"ampersand", files, L"R&D.txt"},
            {L"equals", files, L"a=b.txt"},
            {L"leading dash", files, L"-dash.txt"},
            {L"outside the code page", files, L"\u03A9\u03BC\u03AD\u03B3\u03B1.txt"},
            {L"longer than 260", files, longName + L"\\long name.txt"},
            {L"network, punctuation", share, L"net a b,1's 100%#&=.txt"},
            {L"network, outside the code page", share, L"net \u65E5\u672C.txt"},
        };
        for (const auto& [label, folder, name] : names) {
            // Bytes of every value, and a size of its own, so that no file passes for another.
            const size_t i = listed.size();
            std::string bytes(1000 + i * 7919, '\0');
            for (size_t k = 0; k < bytes.size(); ++k)
                bytes[k] = static_cast<char>(k * 31 + i);
            listed.push_back({label, folder.WriteFile(name, bytes), bytes});
        }
        ASSERT_GT(listed[9].path.size(), 260u);
    }

    std::vector<size_t> All() const {
        std::vector<size_t> all(listed.size());
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = i;
        return all;
    }
    // The files a program that reads the ANSI code page can be given, or not: those whose path the
    // code page holds, or whose 8.3 path it holds (Wine gives files on a network share none).
    std::vector<size_t> InAnsi(bool carried) const {
        std::vector<size_t> which;
        for (size_t i = 0; i < listed.size(); ++i) {
            const std::wstring shortPath = ShortPathName(listed[i].path);
            if ((ToAnsiExact(listed[i].path) || (!shortPath.empty() && ToAnsiExact(shortPath))) == carried)
                which.push_back(i);
        }
        return which;
    }

    std::wstring Send(const std::vector<size_t>& which, const std::wstring& recordPath) {
        std::wstring arguments;
        for (size_t i : which)
            arguments += L" " + Quoted(listed[i].path);
        ChildProcess ferryl;
        return StartFerryl(ferryl, arguments.substr(1)) ? SendAndRecord(ferryl, recordPath) : L"(not started)";
    }

    // With a file no path in the code page carries, Send Now warns first and keeps the list.
    void ExpectAWarningForWhatAnsiCannotCarry(const std::wstring& reached) {
        const std::vector<size_t> lost = InAnsi(false);
        ASSERT_FALSE(lost.empty());
        ::DeleteFileW(reached.c_str());
        ChildProcess ferryl;
        ASSERT_TRUE(StartFerryl(ferryl, Quoted(listed[0].path) + L" " + Quoted(listed[lost.front()].path)));
        PressSendNow();
        // Escape, not OK: a warning that offers to go on or not goes back to the list.
        EXPECT_TRUE(AnswerBox(kWarningTitle, {}, IDCANCEL));
        EXPECT_TRUE(SendNowEnabled()) << "the window stays with its list";
        EXPECT_EQ(ReadRecord(reached), L"") << "nothing reached the program";
    }

    // Every listed file of `which` arrives (the very file, by its path, or a draft's part by its
    // name) with its bytes, and nothing else does.
    void ExpectEveryFileArrives(const std::vector<Attachment>& received, const std::vector<size_t>& which) {
        std::set<size_t> reached;
        std::wstring strays, missing;
        for (const Attachment& got : received) {
            const auto identity = Identity(got.path);
            const auto found = std::find_if(listed.begin(), listed.end(), [&](const Listed& file) {
                return (got.path.empty() ? got.name == FileNameOf(file.path)
                                         : identity && identity == Identity(file.path)) &&
                       got.bytes == file.bytes;
            });
            if (found == listed.end())
                strays += L"\n  " + got.path + L" " + got.name;
            else
                reached.insert(static_cast<size_t>(found - listed.begin()));
        }
        for (size_t i : which) {
            if (!reached.count(i))
                missing += std::wstring(missing.empty() ? L"" : L"; ") + listed[i].label;
        }
        EXPECT_EQ(missing, L"") << "listed files that did not arrive";
        EXPECT_EQ(strays, L"") << "attachments that are no listed file";
    }

    const TempFolder share{TempFolder::OnNetworkShare{}};
    std::vector<Listed> listed;
};

// Each program that takes the files on its command line: one that reads it in the code page
// (Sylpheed, and any other, which gets the short paths as it always did: Eudora, say) is given what
// the code page carries, and warned of the rest.
TEST_F(MailReadersTest, EachCommandLineProgramFindsEveryFile) {
    for (const auto& [program, ansi] :
         {std::pair{L"thunderbird.exe", false}, std::pair{L"claws-mail.exe", false}, std::pair{L"sylpheed.exe", true},
          std::pair{L"mail.exe", true}, std::pair{L"olk.exe", false}}) {
        SCOPED_TRACE(program);
        const std::vector<size_t> which = ansi ? InAnsi(true) : All();
        InstallMailProgram(program);
        Send(which, record);
        ExpectEveryFileArrives(Received(program, record), which);
        if (ansi)
            ExpectAWarningForWhatAnsiCannotCarry(record);
    }
}

TEST_F(MailReadersTest, ClassicOutlookOpensOneFileAfterSlashAAndMoreThroughItsMapiClient) {
    InstallMailProgram(L"outlook.exe");
    std::vector<Attachment> received;
    for (size_t i = 0; i < listed.size(); ++i) {
        Send({i}, record);
        received.push_back(Received(L"outlook.exe", record).at(0));
    }
    ExpectEveryFileArrives(received, All());

    InstallMapiProvider(L"Microsoft Outlook", false);
    ::DeleteFileW(record.c_str());
    Send(All(), mapi.File(L"mapi_record.txt"));
    ExpectEveryFileArrives(ReceivedByMapi(), All());
    EXPECT_FALSE(FileExists(record)) << "outlook.exe itself is not started";
}

// Through Simple MAPI to the stand-in provider, registered under DLLPathEx as the default client
// and then as the client named in MailProgram: a Unicode client gets the long paths and names, an
// ANSI-only one each file's path and name where the code page holds them, else their 8.3 forms.
TEST_F(MailReadersTest, AMapiClientOpensEveryPathItGets) {
    for (const bool ansiOnly : {false, true}) {
        const std::vector<size_t> which = ansiOnly ? InAnsi(true) : All();
        for (const bool asDefault : {true, false}) {
            SCOPED_TRACE(std::string(ansiOnly ? "ANSI only, " : "Unicode, ") +
                         (asDefault ? "as the default client" : "as a named client"));
            const std::wstring client = asDefault ? L"Ferryl Default Client" : L"Ferryl Named Client";
            InstallMapiProvider(client, asDefault, ansiOnly, L"DLLPathEx");
            WriteIni(L"Settings", L"MailProgram", asDefault ? L"" : L"MAPI:" + client, ini);
            ::DeleteFileW(mapi.File(L"mapi_calls.txt").c_str());
            Send(which, mapi.File(L"mapi_record.txt"));
            EXPECT_EQ(mapi.Calls(), ansiOnly ? L"MAPISendMail\n" : L"MAPISendMailW\n");
            ExpectEveryFileArrives(ReceivedByMapi(), which);
            std::vector<std::wstring> paths, names;
            for (size_t i : which) {
                const std::wstring name = FileNameOf(listed[i].path);
                paths.push_back(listed[i].path);
                names.push_back(!ansiOnly || ToAnsiExact(name) ? name : FileNameOf(ShortPathName(listed[i].path)));
            }
            if (!ansiOnly) {
                EXPECT_EQ(mapi.SentPaths(), paths);
            }
            EXPECT_EQ(mapi.SentNames(), names);
        }
    }
    ExpectAWarningForWhatAnsiCannotCarry(mapi.File(L"mapi_record.txt"));
}

}  // namespace
}  // namespace ferryl::test
