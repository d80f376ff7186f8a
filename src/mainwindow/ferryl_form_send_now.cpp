// FerrylF's Send Now: the window asks and shows, the work is done elsewhere. It reads what the
// plan needs (src/send/send_facts), has it planned (src/core/send_plan), asks what the plan says
// must be asked and the picture size, starts the copies and the smaller pictures on the send
// job's thread with the system's progress dialog, and once they are done hands the files over
// (src/send/mail_hand_off) and takes the sent rows away. Every step that stops says which it was,
// why, and what has happened to the files.

#include <functional>

#include "app/start_up.h"
#include "common/continue_on_error.h"
#include "core/mapi_outcome.h"
#include "mainwindow/ferryl_form.h"
#include "mainwindow/form_steps.h"
#include "send/mail_hand_off.h"
#include "send/picture_size_dialog.h"
#include "send/send_facts.h"
#include "send/send_texts.h"
#include "settings/funkcije.h"
#include "settings/message_size_limit.h"
#include "winsvc/window_text.h"

namespace ferryl {

namespace {

constexpr uint64_t kBytesPerMB = 1024 * 1024;

}  // namespace

bool FerrylF::Sending() const noexcept {
    return m_mapiSend != nullptr || (m_run && m_run->job);
}

bool FerrylF::Ask(const std::wstring& question) {
    return ::MessageBoxW(Hwnd(), question.c_str(), kWarningTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool FerrylF::SendStepRan(const wchar_t* step, const std::function<void()>& run, const SendRun* sendRun) {
    std::optional<FailureRecord> failure;
    try {
        run();
    } catch (...) {
        failure = RecordCaughtFailure(std::wstring(L"Send Now: ") + step);
    }
    if (!failure)
        return true;
    if (Loaded())
        Inform(std::wstring(L"Send Now stopped while ") + step + L".\n\n" + ReasonOf(*failure) +
                   (sendRun ? FilesNote(*sendRun) : L"\n\nNo file was copied or moved.") +
                   L"\n\nNothing was sent, and the list stays.",
               kWarningTitle);
    return false;
}

void FerrylF::WhileSendNowRuns(const std::function<void()>& step) noexcept {
    // A click or a close that arrives while this step waits in a dialog (whose loop dispatches
    // whatever comes) must not start a second run over the same rows, nor take the window away
    // under the step: a close waits for the step's end.
    m_inSendNow = true;
    ContinueOnError(L"Send Now", [&] { SendStepRan(L"sending the files", step, nullptr); });
    m_inSendNow = false;
    if (m_closeAfterSend && !Sending()) {
        Unload();
        return;
    }
    if (std::exchange(m_jobEndPending, false))
        OnSendJobDone();
}

void FerrylF::send_nowD_Click() noexcept {
    if (Rows() == 0 || Sending() || m_inSendNow)
        return;
    WhileSendNowRuns([this] { SendNow(); });
}

void FerrylF::SendNow() {
    auto run = std::make_unique<SendRun>();
    // What is listed now is what is sent; files arriving meanwhile wait for the next Send Now.
    run->rows = Rows();
    WaitCursor wait;
    if (!SendStepRan(
            L"reading the list", [&] { run->listed = ListedPaths(run->rows); }, nullptr))
        return;

    MailTargetChoice choice;
    if (!SendStepRan(
            L"choosing the mail program", [&] { choice = ChooseMailTarget(run->rows); }, nullptr))
        return;
    // Each step may have shown a dialog, whose loop dispatches whatever comes: the window is
    // checked for after each.
    if (!Loaded())
        return;
    if (choice.status != MailTargetChoice::Status::Chosen) {
        wait.Restore();
        if (choice.status == MailTargetChoice::Status::Failed)
            Inform(choice.failure, kWarningTitle);
        else
            Inform(L"E-mail program not specified.", kProgramTitle);
        return;
    }
    run->target = choice.target;

    SendFacts facts;
    std::wstring failure;
    const bool looked = SendStepRan(
        L"looking at the listed files", [&] { failure = ReadFacts(*run, facts); }, nullptr);
    wait.Restore();
    const bool planned = looked && failure.empty() && AskWhatThePlanAsks(facts, run->plan);
    if (!failure.empty())
        Inform(failure, kWarningTitle);
    // A close asked for while a question was up goes before any copy is made.
    if (!planned || !Loaded() || m_closeAfterSend) {
        run->RemoveEmptyFreshFolder();
        return;
    }
    std::vector<SendStep> steps = JobSteps(*run);
    if (steps.empty())
        HandOffAndFinish(*run, run->PathsToSend());
    else
        StartJob(std::move(run), std::move(steps));
}

std::wstring FerrylF::ReadFacts(SendRun& run, SendFacts& facts) {
    std::wstring failure;
    run.readsAnsi = ReadsAnsi(run.target, failure);
    if (!failure.empty())
        return failure;
    std::wstring chosen;
    if (IsChecked(m_copyC)) {
        chosen = WindowText(m_putanjaT);
        if (!FolderExists(chosen))
            return L"Specified directory does not exist.";
        run.folder = chosen;
        // In the temporary folder the copies go into a folder of their own, so that they keep their
        // names exactly.
        if (IsSameFolder(chosen, StartUp().TempFolder)) {
            const FreshFolder fresh = MakeFreshFolder(chosen);
            if (!fresh.failure.empty())
                return fresh.failure;
            run.folder = fresh.path;
            run.freshFolder = true;
        }
        facts.copyTo = ReadCopyDestination(run.folder, run.freshFolder);
    }
    // A file in the chosen folder already goes as it is.
    facts.files = ReadListedFiles(run.listed, chosen.empty() ? nullptr : &chosen);
    facts.readsAnsi = run.readsAnsi;
    facts.sizeLimit = static_cast<uint64_t>(ReadMessageSizeLimitMB(StartUp().IniFile)) * kBytesPerMB;
    run.plan = PlanSend(facts);
    return {};
}

bool FerrylF::AskWhatThePlanAsks(const SendFacts& facts, SendPlan& plan) {
    // The size warning goes by the size of the pictures chosen.
    return AskAboutFilesThatCannotGo(facts, plan, {}) && AskThePictureSize(facts, plan) &&
           (!plan.overLimit || (Ask(TooBigText(facts, plan)) && Loaded()));
}

bool FerrylF::AskAboutFilesThatCannotGo(const SendFacts& facts, const SendPlan& plan, const std::wstring& filesNote) {
    if (plan.missing.empty() && plan.unreadable.empty())
        return true;
    const std::wstring files = CannotGoLines(facts, plan);
    if (plan.going.empty()) {
        Inform(
            L"None of the listed files can be sent:" + files + L"\n\nNothing was sent, and the list stays." + filesNote,
            kWarningTitle);
        return false;
    }
    return Ask(L"These listed files cannot be sent:" + files + L"\n\nSend the other files?") && Loaded();
}

bool FerrylF::AskThePictureSize(const SendFacts& facts, SendPlan& plan) {
    std::vector<std::wstring> pictures;
    for (const PlannedFile& file : plan.going) {
        if (IsPictureName(facts.files[file.listed].path))
            pictures.push_back(facts.files[file.listed].path);
    }
    if (pictures.empty())
        return true;
    std::vector<PictureFacts> read;
    {
        WaitCursor wait;
        read = ReadPictureFacts(pictures);
    }
    const std::optional<PictureSize> size = AskPictureSize(Hwnd(), read, StartUp().IniFile);
    if (!size || !Loaded())
        return false;
    PlanPictureSize(facts, read, *size, plan);
    return true;
}

std::vector<std::wstring> FerrylF::ListedPaths(long rows) {
    std::vector<std::wstring> listed;
    for (long row = 1; row <= rows; ++row)
        listed.push_back(m_lista->Cell(row, kColumnPath).Text().ToText());
    return listed;
}

std::vector<SendStep> FerrylF::JobSteps(SendRun& run) {
    std::vector<SendStep> steps;
    std::vector<CopyRequest> requests;
    std::vector<size_t> requestOf(run.plan.going.size());  // a planned file's request
    for (size_t i = 0; i < run.plan.going.size(); ++i) {
        const PlannedFile& file = run.plan.going[i];
        if (file.copy.empty())
            continue;
        requestOf[i] = requests.size();
        std::optional<size_t> sameAs;
        if (file.sameAs)
            sameAs = requestOf[*file.sameAs];
        requests.push_back(
            {run.listed[file.listed], file.copy, FileNameOf(LongPathName(run.listed[file.listed])), sameAs});
    }
    if (!requests.empty()) {
        run.copies = std::make_shared<CopyStep>(std::move(requests), IsChecked(m_deleteC));
        steps.push_back({kCopyStepTitle, true,
                         [copies = run.copies](const StepProgress& progress) { return copies->Run(progress); }});
    }
    // The pictures are made smaller from the files as the copies leave them: Copy To and "&Delete
    // source files" act on the originals.
    if (run.plan.pictureSize != PictureSize::Original) {
        run.pictures = std::make_shared<PictureStepOutcome>();
        steps.push_back({kPictureStepTitle, true,
                         [going = run.plan.going, listed = run.listed, copies = run.copies, pictures = run.pictures,
                          size = run.plan.pictureSize, temp = StartUp().TempFolder](const StepProgress& progress) {
                             *pictures = MakePicturesSmaller(PathsAfterCopies(going, listed, copies.get()), size, temp,
                                                             progress);
                             if (pictures->cancelled)
                                 return StepStatus::Cancelled;
                             return pictures->failure.empty() ? StepStatus::Done : StepStatus::Failed;
                         }});
    }
    return steps;
}

void FerrylF::StartJob(std::unique_ptr<SendRun> run, std::vector<SendStep> steps) {
    run->job = SendJob::Start(std::move(steps), Hwnd(), kSendJobDoneMessage);
    run->progress = std::make_unique<SendProgressDialog>(Hwnd(), run->job);
    m_run = std::move(run);
    ApplySendNowRule();
}

void FerrylF::OnSendJobDone() noexcept {
    // Only the job itself says it has ended: any program can post the message.
    if (!m_run || !m_run->job || !m_run->job->Done())
        return;
    // A question of Send Now's is up (closing during the copies): its answer comes first.
    if (m_inSendNow) {
        m_jobEndPending = true;
        return;
    }
    WhileSendNowRuns([this] { FinishJob(); });
}

void FerrylF::FinishJob() {
    std::unique_ptr<SendRun> run = std::move(m_run);
    run->progress.reset();
    const JobOutcome outcome = run->job->Outcome();
    run->job.reset();
    ApplySendNowRule();
    NameCopiesInRows(*run);
    if (outcome.status != StepStatus::Done)
        run->RemoveEmptyFreshFolder();
    // Smaller pictures that no mail program is given go at once.
    if (!HandOffAfterJob(*run, outcome))
        run->RemoveSmallerPictures();
}

bool FerrylF::HandOffAfterJob(const SendRun& run, const JobOutcome& outcome) {
    if (m_closeAfterSend) {
        // The user chose to close: the list goes, and with it what it says of moved files.
        if (run.AnyCopyIn(CopyRecord::State::Moved))
            Inform(L"The copies were cancelled and the window closes." + FilesNote(run), kProgramTitle);
        return false;
    }
    if (outcome.status == StepStatus::Cancelled) {
        Inform(JobCancelledText(run, outcome), kProgramTitle);
        return false;
    }
    if (outcome.status == StepStatus::Failed) {
        Inform(JobFailedText(run, outcome), kWarningTitle);
        return false;
    }
    if (const std::wstring before = BeforeHandOffText(run); !before.empty())
        Inform(before, run.AnyCopyIn(CopyRecord::State::SourceKept) ? kWarningTitle : kProgramTitle);
    std::vector<std::wstring> paths = run.PathsToSend();
    if (run.readsAnsi && !AnsiReaderOpensTheCopies(paths, FilesNote(run)))
        return false;
    return Loaded() && HandOffAndFinish(run, paths);
}

bool FerrylF::AnsiReaderOpensTheCopies(std::vector<std::wstring>& paths, const std::wstring& filesNote) {
    // The plan judged the copies' short names by their sources'; a folder on a volume that makes
    // none shows only now, as do the smaller pictures' paths. Such a file is asked about as a listed
    // file would have been.
    const SendFacts facts{ReadListedFiles(paths, nullptr), true, std::nullopt, 0};
    const SendPlan plan = PlanSend(facts);
    if (plan.unreadable.empty())
        return true;
    if (!AskAboutFilesThatCannotGo(facts, plan, filesNote))
        return false;
    std::vector<std::wstring> going;
    for (const PlannedFile& file : plan.going)
        going.push_back(paths[file.listed]);
    paths = std::move(going);
    return true;
}

void FerrylF::NameCopiesInRows(const SendRun& run) {
    if (!run.copies)
        return;
    const std::vector<CopyRecord>& records = run.copies->Records();
    size_t request = 0;
    for (const PlannedFile& file : run.plan.going) {
        if (file.copy.empty())
            continue;
        const CopyRecord& record = records[request++];
        const long row = static_cast<long>(file.listed) + 1;
        // A moved file is found at its copy only. The row is the one the send took, unless the
        // list has changed under it.
        if (record.state == CopyRecord::State::Moved && row <= Rows() &&
            CellText(row, kColumnPath) == run.listed[file.listed])
            NameCopyInRow(row, record.copy);
    }
}

void FerrylF::NameCopyInRow(long row, const std::wstring& copy) {
    ContinueOnError(L"NameCopyInRow: name",
                    [&] { m_lista->CellDetails(row, kColumnName, TaggedValue(FileNameOf(copy))); });
    ContinueOnError(L"NameCopyInRow: path", [&] { m_lista->CellDetails(row, kColumnPath, TaggedValue(copy)); });
}

bool FerrylF::HandOffAndFinish(const SendRun& run, const std::vector<std::wstring>& paths) {
    // Without the window a Simple MAPI call's end would be posted nowhere.
    if (!Loaded())
        return false;
    HandOffResult handed;
    if (!SendStepRan(
            L"handing the files to the mail program",
            [&] { handed = HandOff(run.target, paths, Hwnd(), kMapiDoneMessage); }, &run))
        return false;
    if (!handed.failure.empty()) {
        Inform(handed.failure + (run.copies ? FilesNote(run) : std::wstring()), kWarningTitle);
        return false;
    }
    if (handed.mapiSend) {
        m_mapiSend = std::move(handed.mapiSend);
        m_sendingRows = run.rows;
        // The client's compose window is modal to this one; the window still paints meanwhile.
        ::EnableWindow(m_send_nowD, FALSE);
        ::EnableWindow(Hwnd(), FALSE);
        return true;
    }
    FinishSend(run.rows);
    return true;
}

void FerrylF::OnMapiSendDone() noexcept {
    // Only the call itself says it has returned: any program can post the message.
    if (!m_mapiSend || !m_mapiSend->Done())
        return;
    const unsigned long result = m_mapiSend->Result();
    m_mapiSend.reset();
    ::EnableWindow(Hwnd(), TRUE);
    ApplySendNowRule();
    ContinueOnError(L"OnMapiSendDone", [&] {
        switch (OutcomeOfMapiResult(result)) {
            case MapiOutcome::Sent:
                FinishSend(m_sendingRows);
                return;
            case MapiOutcome::Cancelled:
                break;
            case MapiOutcome::Failed:
                Inform(MapiFailureText(result), kWarningTitle);
                break;
        }
        if (m_closeAfterSend)
            Unload();
    });
}

void FerrylF::FinishSend(long rows) {
    // A handoff whose sender timed out while this thread started the program (pumping nothing)
    // still waits in the queue; taken in now, its files count below.
    MSG pending;
    ::PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (!Loaded())
        return;
    // Files that arrived while the files were being handed over were not sent: they stay listed,
    // and the window with them, instead of going with the window.
    if (Rows() > rows && !m_closeAfterSend) {
        for (long row = rows; row >= 1; --row)
            ContinueOnError(L"FinishSend: RemoveRow", [&] { m_lista->RemoveRow(row); });
        ContinueOnError(L"FinishSend: CellSelected", [&] { m_lista->CellSelected(1, 1, true); });
        ApplySendNowRule();
        return;
    }
    Unload();
}

void FerrylF::OnCloseAsked() noexcept {
    // While Send Now asks something, or a mail client reads the listed files, the window goes once
    // that is over.
    if (m_inSendNow || m_mapiSend) {
        m_closeAfterSend = true;
        return;
    }
    if (!m_run || !m_run->job) {
        Unload();
        return;
    }
    WhileSendNowRuns([this] {
        if (Ask(CloseDuringJobQuestion(m_run->job->Progress().title)) && m_run && m_run->job) {
            m_closeAfterSend = true;
            m_run->job->Cancel();
        }
    });
}

void FerrylF::WaitWhileSending() noexcept {
    // The job is cancelled and waited for: the program never ends under a half-made copy.
    if (m_run && m_run->job) {
        m_closeAfterSend = true;
        m_run->job->Cancel();
    }
    MSG message;
    while (Sending()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            return;
        // The WM_QUIT of the receiving window's unload may still be queued: the program is ending
        // already, once the client has returned.
        if (got == 0 || PreTranslateMessage(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void FerrylF::EndSession() noexcept {
    // The session ends when this returns: the copy being made is cancelled and removed first.
    m_run.reset();
}

}  // namespace ferryl
