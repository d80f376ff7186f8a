#include "core/mail_kind.h"

#include <array>

#include "core/ascii_case.h"

namespace ferryl {

namespace {

std::wstring_view FileNamePart(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

constexpr std::wstring_view kMapi = L"mapi";

constexpr std::array<KnownMailProgram, 7> kKnown{{
    {L"olk.exe", L"Outlook (new)", MailProgramKind::NewOutlook},
    {L"thunderbird.exe", L"Thunderbird", MailProgramKind::Thunderbird},
    {L"betterbird.exe", L"Betterbird", MailProgramKind::Thunderbird},
    {L"seamonkey.exe", L"SeaMonkey", MailProgramKind::Thunderbird},
    {L"claws-mail.exe", L"Claws Mail", MailProgramKind::Claws},
    {L"sylpheed.exe", L"Sylpheed", MailProgramKind::Sylpheed},
    {L"outlook.exe", L"Outlook", MailProgramKind::Outlook},
}};

}  // namespace

std::span<const KnownMailProgram> KnownMailPrograms() {
    return kKnown;
}

const KnownMailProgram* FindKnownMailProgram(std::wstring_view programPath) {
    const std::wstring_view name = FileNamePart(programPath);
    for (const KnownMailProgram& known : kKnown) {
        if (EqualsNoCase(name, known.fileName))
            return &known;
    }
    return nullptr;
}

MailProgramKind KindOfProgram(std::wstring_view programPath) {
    const KnownMailProgram* known = FindKnownMailProgram(programPath);
    return known ? known->kind : MailProgramKind::CommandLine;
}

MailProgramSetting ParseMailProgramSetting(std::wstring_view value) {
    if (value.empty())
        return {};
    if (EqualsNoCase(value, kMapi))
        return {MailProgramSetting::Kind::DefaultMapi, {}};
    if (value.size() > kMapi.size() && value[kMapi.size()] == L':' &&
        EqualsNoCase(value.substr(0, kMapi.size()), kMapi)) {
        const std::wstring_view name = value.substr(kMapi.size() + 1);
        if (name.empty())
            return {MailProgramSetting::Kind::DefaultMapi, {}};
        return {MailProgramSetting::Kind::NamedMapi, std::wstring(name)};
    }
    // No folder and no drive: a name for Windows to find, not a place.
    if (value.find_first_of(L"\\/:") == std::wstring_view::npos)
        return {MailProgramSetting::Kind::RegisteredProgram, std::wstring(value)};
    return {MailProgramSetting::Kind::Program, std::wstring(value)};
}

std::wstring NamedMapiSetting(std::wstring_view clientName) {
    return L"MAPI:" + std::wstring(clientName);
}

}  // namespace ferryl
