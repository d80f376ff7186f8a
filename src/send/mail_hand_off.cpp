#include "send/mail_hand_off.h"

#include "app/start_up.h"
#include "core/mail_arguments.h"
#include "core/send_plan.h"
#include "core/utf8.h"
#include "mail/ansi_path.h"
#include "mail/draft_file.h"
#include "mail/program_start.h"
#include "send/send_texts.h"
#include "settings/funkcije.h"

namespace ferryl {

namespace {

// The path a mail program shows the file under: its long form, so that the recipient sees the real
// name rather than REPORT~1.DOC. A name no UTF-8 can carry (a lone surrogate) goes by its 8.3 form.
std::wstring PathForMail(const std::wstring& path) {
    std::wstring longPath = LongPathName(path);
    if (HasLoneSurrogate(longPath)) {
        if (std::wstring shortPath = ShortPathName(path); !shortPath.empty())
            return shortPath;
    }
    return longPath;
}

HandOffResult Failure(std::wstring text) {
    return {std::move(text), nullptr};
}

}  // namespace

std::wstring ShortPathOrFull(const std::wstring& path) {
    std::wstring shortPath = ShortPathName(path);
    if (shortPath.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return path;
    return shortPath;
}

bool ReadsAnsi(const MailTarget& target, std::wstring& failure) {
    if (target.route == MailTarget::Route::Program)
        return KindReadsAnsi(target.kind);
    const MapiLoad load = LoadMapiLibrary(target.mapiDll);
    failure = load.failure;
    return load.library && !load.library->sendMailW;
}

HandOffResult HandOff(const MailTarget& target,
                      const std::vector<std::wstring>& paths,
                      HWND window,
                      UINT mapiDoneMessage) {
    const std::wstring& clParameters = StartUp().ClParameters;
    if (target.route == MailTarget::Route::Program && target.kind == MailProgramKind::CommandLine) {
        std::vector<std::wstring> shortPaths;
        for (const std::wstring& path : paths)
            shortPaths.push_back(ShortPathOrFull(path));
        const std::wstring arguments = MailArguments(clParameters, shortPaths);
        return Failure(StartProgram(target.program, MailCommandLine(target.program, arguments)));
    }

    std::vector<std::wstring> missing, forMail;
    for (const std::wstring& path : paths) {
        if (!IsExistingFile(path))
            missing.push_back(path);
        forMail.push_back(PathForMail(path));
    }
    if (!missing.empty())
        return Failure(L"These listed files no longer exist:" + Lines(missing) + L"\n\nNothing was sent.");
    if (target.route == MailTarget::Route::Mapi) {
        std::vector<MapiAttachment> files;
        for (const std::wstring& path : forMail)
            files.push_back({path});
        const MapiLoad load = LoadMapiLibrary(target.mapiDll);
        if (!load.library)
            return Failure(load.failure);
        return {{}, MapiSend::Start(*load.library, std::move(files), window, window, mapiDoneMessage)};
    }

    std::wstring arguments, draft;
    switch (target.kind) {
        case MailProgramKind::Thunderbird:
            arguments = ThunderbirdArguments(clParameters, forMail);
            break;
        case MailProgramKind::Claws:
            arguments = ClawsArguments(clParameters, forMail);
            break;
        case MailProgramKind::Sylpheed: {
            const AnsiCarriedPaths carried = CarryInAnsi(paths, L"Sylpheed");
            if (!carried.failure.empty())
                return Failure(carried.failure);
            arguments = SylpheedArguments(clParameters, carried.paths);
            break;
        }
        case MailProgramKind::Outlook:
            arguments = OutlookArguments(clParameters, forMail.front());
            break;
        case MailProgramKind::NewOutlook: {
            const DraftOutcome written = WriteDraftFile(StartUp().TempFolder, forMail);
            if (!written.failure.empty())
                return Failure(written.failure);
            draft = written.path;
            arguments = NewOutlookArguments(clParameters, draft);
            break;
        }
        case MailProgramKind::CommandLine:
            break;
    }
    const std::wstring failure = StartProgram(target.program, MailCommandLine(target.program, arguments));
    if (!failure.empty() && !draft.empty())
        ::DeleteFileW(draft.c_str());  // no program will read it
    return Failure(failure);
}

}  // namespace ferryl
