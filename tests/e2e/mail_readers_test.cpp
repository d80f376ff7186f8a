// End to end: the real Ferryl.exe sends files with awkward names to stand-ins of each kind of mail
// program, and what each stand-in got is read back as that program reads it (the rules of
// support/mail_client_rules.h, after CommandLineToArgvW's split): every path so read must open the
// very file that was listed, with its bytes, and no listed file may be missing. The names: a blank,
// a comma, an apostrophe, "%", "#", "&", "=", a leading "-", characters outside the code page, a
// path longer than 260 characters, and files on a network share.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "common/text.h"
#include "core/utf8.h"
#include "e2e/ferryl_session.h"
#include "support/mail_client_rules.h"
#include "support/mime_reader.h"

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
        const std::wstring longFolder = files.MakeFolder(std::wstring(130, L'l')) + L"\\" + std::wstring(110, L'm');
        ::CreateDirectoryW(longFolder.c_str(), nullptr);
        const std::vector<std::pair<const wchar_t*, std::wstring>> names{
            {L"blank", files / L"a b.txt"},
            {L"comma", files / L"x,1.txt"},
            {L"apostrophe", files / L"it's.txt"},
            {L"percent", files / L"100%.txt"},
            {L"hash", files / L"#1.txt"},
            {L"ampersand", files / L"R&D.txt"},
            {L"equals", files / L"a=b.txt"},
            {L"leading dash", files / L"-dash.txt"},
            {L"outside the code page", files / L"\u03A9\u03BC\u03AD\u03B3\u03B1.txt"},
            {L"longer than 260", longFolder + L"\\long name.txt"},
            {L"network, punctuation", share / L"net a b,1's 100%#&=.txt"},
            {L"network, outside the code page", share / L"net \u65E5\u672C.txt"},
        };
        for (size_t i = 0; i < names.size(); ++i) {
            // Bytes of every value, and a size of its own, so that no file passes for another.
            std::string bytes(1000 + i * 7919, '\0');
            for (size_t k = 0; k < bytes.size(); ++k)
                bytes[k] = static_cast<char>(k * 31 + i);
            UniqueFile file(::CreateFileW(names[i].second.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            ASSERT_TRUE(file &&
                        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
                << names[i].second;
            listed.push_back({names[i].first, names[i].second, bytes});
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

    std::wstring Arguments(const std::vector<size_t>& which) const {
        std::wstring arguments;
        for (size_t i : which)
            arguments += (arguments.empty() ? L"" : L" ") + Quoted(listed[i].path);
        return arguments;
    }

    // Starts Ferryl with the files, presses Send Now and returns the split command line the
    // stand-in mail program got.
    std::vector<std::wstring> SendToProgram(const wchar_t* programName, const std::vector<size_t>& which) {
        InstallMailProgram(programName);
        ::DeleteFileW(record.c_str());
        ChildProcess ferryl;
        if (!StartFerryl(ferryl, Arguments(which)))
            return {};
        return SplitCommandLine(SendAndRecord(ferryl));
    }

    // With a file that no path in the code page carries, Send Now warns before anything reaches the
    // program, and the window keeps its list.
    void ExpectAWarningForWhatAnsiCannotCarry(const std::wstring& reached) {
        const std::vector<size_t> lost = InAnsi(false);
        if (lost.empty())
            return;
        ::DeleteFileW(reached.c_str());
        ChildProcess ferryl;
        ASSERT_TRUE(StartFerryl(ferryl, Arguments({0, lost.front()})));
        PressSendNow();
        // Escape, not OK: a warning that offers to go on or not goes back to the list.
        HWND box = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (box = ::FindWindowW(L"#32770", kWarningTitle)) != nullptr; }, 10000));
        ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(box); }));
        EXPECT_TRUE(PumpUntil([] { return ::IsWindowEnabled(PanelChild(L"&Send Now")); }))
            << "the window stays with its list";
        EXPECT_EQ(ReadRecord(reached), L"") << "nothing reached the program";
    }

    std::wstring StartFolder() const { return ReadRecord(programFolder / L"Mail Program\\start_folder.txt"); }

    // The labels of the listed files that the paths do not open, and the paths that open none.
    void ExpectEveryFileArrives(const std::vector<std::wstring>& paths, const std::vector<size_t>& which) {
        std::set<size_t> reached;
        std::wstring strays;
        for (const std::wstring& path : paths) {
            const auto identity = Identity(path);
            bool found = false;
            for (size_t i = 0; i < listed.size() && identity; ++i) {
                if (identity == Identity(listed[i].path) && ReadFileBytes(path) == listed[i].bytes) {
                    reached.insert(i);
                    found = true;
                }
            }
            if (!found)
                strays += L"\n  " + path;
        }
        std::wstring missing;
        for (size_t i : which) {
            if (!reached.count(i))
                missing += std::wstring(missing.empty() ? L"" : L"; ") + listed[i].label;
        }
        EXPECT_EQ(missing, L"") << "listed files that did not arrive";
        EXPECT_EQ(strays, L"") << "paths that open no listed file";
    }

    // The files go through Simple MAPI to the stand-in provider, registered under DLLPathEx as the
    // default client and then as the client named in MailProgram; the paths each call got.
    void SendThroughMapi(bool ansiOnly, const std::vector<size_t>& which, const std::function<void()>& check) {
        for (const bool asDefault : {true, false}) {
            SCOPED_TRACE(asDefault ? "as the default client" : "as a named client");
            const std::wstring client = asDefault ? L"Ferryl Default Client" : L"Ferryl Named Client";
            InstallMapiProvider(client, asDefault, ansiOnly, L"DLLPathEx");
            WriteIni(L"Settings", L"MailProgram", asDefault ? L"" : L"MAPI:" + client, ini);
            for (const wchar_t* name : {L"mapi_record.txt", L"mapi_calls.txt"})
                ::DeleteFileW(mapi.File(name).c_str());
            ChildProcess ferryl;
            ASSERT_TRUE(StartFerryl(ferryl, Arguments(which)));
            SendAndRecord(ferryl, mapi.File(L"mapi_record.txt"));
            check();
        }
    }

    const TempFolder share{TempFolder::OnNetworkShare{}};
    std::vector<Listed> listed;
};

TEST_F(MailReadersTest, ThunderbirdResolvesEveryAttachmentUrl) {
    const std::optional<std::vector<std::wstring>> urls =
        ComposeAttachmentUrls(SendToProgram(L"thunderbird.exe", All()));
    ASSERT_TRUE(urls) << "a -compose argument with an attachment field";
    std::vector<std::wstring> paths;
    for (const std::wstring& url : *urls)
        paths.push_back(GeckoFilePath(url).value_or(L"(not a file URL) " + url));
    ExpectEveryFileArrives(paths, All());
}

TEST_F(MailReadersTest, ClawsMailFindsEveryAttachment) {
    const std::vector<std::wstring> argv = SendToProgram(L"claws-mail.exe", All());
    const std::wstring startFolder = StartFolder();
    std::vector<std::wstring> paths;
    for (const std::wstring& argument : AttachArguments(argv))
        paths.push_back(ClawsAttachment(argument, startFolder, [](const std::wstring& path) {
            const DWORD attributes = ::GetFileAttributesW(path.c_str());
            return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        }));
    ExpectEveryFileArrives(paths, All());
}

TEST_F(MailReadersTest, SylpheedFindsEveryAttachmentInItsAnsiArguments) {
    SendToProgram(L"sylpheed.exe", InAnsi(true));
    // What the system hands an ANSI program: the command line in the code page, as Sylpheed's
    // arguments come to it, converted back from the code page.
    const std::wstring ansi = FromAnsi(ReadFileBytes(programFolder / L"Mail Program\\command_line_ansi.txt"));
    const std::wstring startFolder = StartFolder();
    std::vector<std::wstring> paths;
    for (const std::wstring& argument : AttachArguments(SplitCommandLine(ansi)))
        paths.push_back(SylpheedAttachment(argument, startFolder));
    ExpectEveryFileArrives(paths, InAnsi(true));
    ExpectAWarningForWhatAnsiCannotCarry(record);
}

TEST_F(MailReadersTest, ClassicOutlookOpensEachFileAfterSlashA) {
    // One file at a time: more go through its Simple MAPI client.
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < listed.size(); ++i)
        paths.push_back(OutlookAttachment(SendToProgram(L"outlook.exe", {i})).value_or(L"(no /a)"));
    ExpectEveryFileArrives(paths, All());
}

// Any other program gets the short paths, as it always did: it may read its command line in the code
// page, as Eudora does.
TEST_F(MailReadersTest, AnyOtherProgramOpensEveryArgument) {
    const std::vector<std::wstring> argv = SendToProgram(L"mail.exe", InAnsi(true));
    ExpectEveryFileArrives(std::vector<std::wstring>(argv.begin() + (argv.empty() ? 0 : 1), argv.end()), InAnsi(true));
    ExpectAWarningForWhatAnsiCannotCarry(record);
}

TEST_F(MailReadersTest, TheNewOutlooksDraftHoldsEveryFileUnderItsName) {
    const std::vector<std::wstring> argv = SendToProgram(L"olk.exe", All());
    ASSERT_EQ(argv.size(), 2u) << "the program and the draft";
    const std::string text = ReadFileBytes(argv[1]);
    ::DeleteFileW(argv[1].c_str());
    const auto message = ReadMime(text);
    ASSERT_TRUE(message) << "the draft parses as MIME";
    EXPECT_EQ(message->headers.at("x-unsent").value, "1");
    std::wstring missing;
    for (const Listed& file : listed) {
        const std::string name = Utf8FromWide(FileNameOf(file.path));
        const bool found = std::any_of(message->parts.begin(), message->parts.end(), [&](const MimePart& part) {
            const auto disposition = part.headers.find("content-disposition");
            return disposition != part.headers.end() && disposition->second.parameters.count("filename") &&
                   disposition->second.parameters.at("filename") == name && part.Decoded() == file.bytes;
        });
        if (!found)
            missing += std::wstring(missing.empty() ? L"" : L"; ") + file.label;
    }
    EXPECT_EQ(missing, L"") << "listed files that did not arrive";
    EXPECT_EQ(message->parts.size(), listed.size() + 1) << "the text part and one part per file";
}

TEST_F(MailReadersTest, AnAnsiOnlyMapiClientOpensEveryPathItGets) {
    SendThroughMapi(true, InAnsi(true), [&] {
        EXPECT_EQ(mapi.Calls(), L"MAPISendMail\n");
        ExpectEveryFileArrives(mapi.SentPaths(), InAnsi(true));
        // Each attachment's name: its own where the code page holds it, else its 8.3 name.
        std::vector<std::wstring> names;
        for (size_t i : InAnsi(true)) {
            const std::wstring name = FileNameOf(listed[i].path);
            names.push_back(ToAnsiExact(name) ? name : FileNameOf(ShortPathName(listed[i].path)));
        }
        EXPECT_EQ(mapi.SentNames(), names);
    });
    ExpectAWarningForWhatAnsiCannotCarry(mapi.File(L"mapi_record.txt"));
}

TEST_F(MailReadersTest, AUnicodeMapiClientGetsTheLongPaths) {
    SendThroughMapi(false, All(), [&] {
        EXPECT_EQ(mapi.Calls(), L"MAPISendMailW\n");
        std::vector<std::wstring> paths;
        for (const Listed& file : listed)
            paths.push_back(file.path);
        EXPECT_EQ(mapi.SentPaths(), paths);
        ExpectEveryFileArrives(mapi.SentPaths(), All());
    });
}

}  // namespace
}  // namespace ferryl::test
