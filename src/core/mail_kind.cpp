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

}  // namespace

MailProgramKind KindOfProgram(std::wstring_view programPath) {
    struct Named {
        std::wstring_view name;
        MailProgramKind kind;
    };
    static constexpr std::array<Named, 7> kNames{{
        {L"thunderbird.exe", MailProgramKind::Thunderbird},
        {L"betterbird.exe", MailProgramKind::Thunderbird},
        {L"seamonkey.exe", MailProgramKind::Thunderbird},
        {L"claws-mail.exe", MailProgramKind::Claws},
        {L"sylpheed.exe", MailProgramKind::Claws},
        {L"outlook.exe", MailProgramKind::Outlook},
        {L"olk.exe", MailProgramKind::NewOutlook},
    }};
    const std::wstring_view name = FileNamePart(programPath);
    for (const Named& named : kNames) {
        if (EqualsNoCase(name, named.name))
            return named.kind;
    }
    return MailProgramKind::CommandLine;
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
    return {MailProgramSetting::Kind::Program, std::wstring(value)};
}

std::wstring NamedMapiSetting(std::wstring_view clientName) {
    return L"MAPI:" + std::wstring(clientName);
}

}  // namespace ferryl
