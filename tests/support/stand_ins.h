#pragma once
// What the stand-ins of tests/e2e/helpers leave beside themselves: the mail program its command
// line; the Simple MAPI provider its record of the call (UTF-16, one entry a line), the calls it
// began and the calling thread's DPI awareness. The provider returns the number in
// "mapi_result.txt", and waits while "mapi_hold" has no "mapi_release" beside it.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/module_path.h"
#include "common/unique_handle.h"
#include "support/temp_folder.h"

namespace ferryl::test {

// A UTF-16 record as text; empty while it does not exist.
inline std::wstring ReadRecord(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// The provider DLL in a folder (the test programs' own by default) and its files there, which are
// removed when it is made and again at its end.
class StandInProvider {
  public:
    explicit StandInProvider(std::wstring folder = ProgramFolder()) : m_folder(std::move(folder)) { Clean(); }
    ~StandInProvider() { Clean(); }
    StandInProvider(const StandInProvider&) = delete;
    StandInProvider& operator=(const StandInProvider&) = delete;

    std::wstring Dll() const { return File(L"e2e_mapi_provider.dll"); }
    std::wstring File(const wchar_t* name) const { return m_folder + L"\\" + name; }

    // The calls that begin from now on wait for Release.
    void Hold() const { Write(L"mapi_hold", ""); }
    void Release() const { Write(L"mapi_release", ""); }
    void SetResult(const char* result) const { Write(L"mapi_result.txt", result); }

    // "MAPISendMailW\n" (or "MAPISendMail\n") for each call begun.
    std::wstring Calls() const { return ReadRecord(File(L"mapi_calls.txt")); }
    // The last call's record, line by line; empty until a call has ended.
    std::vector<std::wstring> Record() const {
        const std::wstring text = ReadRecord(File(L"mapi_record.txt"));
        std::vector<std::wstring> lines;
        for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    // The paths of the files the last call was given, in order, and their names: the first and
    // second "|"-parted fields of each "file=" line of its record.
    std::vector<std::wstring> SentPaths() const { return SentFields(false); }
    std::vector<std::wstring> SentNames() const { return SentFields(true); }

  private:
    std::vector<std::wstring> SentFields(bool names) const {
        std::vector<std::wstring> values;
        for (const std::wstring& line : Record()) {
            const size_t start = names ? line.find(L'|') + 1 : 5;
            if (line.starts_with(L"file="))
                values.push_back(line.substr(start, line.find(L'|', start) - start));
        }
        return values;
    }
    void Write(const wchar_t* name, std::string_view bytes) const { WriteFileBytes(File(name), bytes); }
    void Clean() const {
        for (const wchar_t* name :
             {L"mapi_record.txt", L"mapi_result.txt", L"mapi_calls.txt", L"mapi_hold", L"mapi_release"})
            ::DeleteFileW(File(name).c_str());
    }

    std::wstring m_folder;
};

}  // namespace ferryl::test
