#include "send/picture_step.h"

#include <windows.h>

#include "common/continue_on_error.h"
#include "common/day_old.h"
#include "common/system_error_text.h"
#include "core/path_rules.h"
#include "send/picture_wic.h"

namespace ferryl {

namespace {

constexpr int kFolderAttempts = 100;
// Pictures of one name from different folders: the second goes into the subfolder "2", and so on.
constexpr int kNameAttempts = 1000;
bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

bool IsNumberName(const wchar_t* name) {
    if (!*name)
        return false;
    for (; *name; ++name) {
        if (*name < L'0' || *name > L'9')
            return false;
    }
    return true;
}

std::wstring ErrorText(HRESULT hr) {
    return SystemErrorText(HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<unsigned long>(hr));
}

// Calls `visit` for each entry of the folder but "." and ".."; stops when it answers false.
template <typename Visit>
bool ForEachEntry(const std::wstring& folder, Visit&& visit) {
    WIN32_FIND_DATAW entry{};
    UniqueFind search(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!search)
        return true;
    do {
        if (!IsDots(entry.cFileName) && !visit(entry))
            return false;
    } while (::FindNextFileW(search.get(), &entry));
    return true;
}

// True when the folder (ending in "\") holds only what the step writes: files, and at the top
// numbered subfolders of files.
bool HoldsOnlyPictures(const std::wstring& folder, bool top) {
    return ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
        return top && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsNumberName(entry.cFileName) &&
               HoldsOnlyPictures(folder + entry.cFileName + L"\\", false);
    });
}

void RemoveTree(const std::wstring& folder) {
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
        const std::wstring path = folder + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path + L"\\");
        else
            ::DeleteFileW(path.c_str());
        return true;
    });
    ::RemoveDirectoryW(folder.c_str());
}

// Where the smaller pictures of one send go, made on first use.
class PictureFolder {
  public:
    explicit PictureFolder(const std::wstring& tempFolder) : m_temp(WithBackslash(tempFolder)) {}

    const std::wstring& Path() const { return m_path; }

    // Writes the pixels under the file's name: in the folder, else in the first numbered subfolder
    // where the name is free.
    HRESULT Write(IWICImagingFactory& wic,
                  const PicturePixels& pixels,
                  const GUID& container,
                  const std::wstring& name,
                  std::wstring& written) {
        if (HRESULT hr = Make(); FAILED(hr))
            return hr;
        HRESULT hr = HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
        for (int attempt = 1; attempt <= kNameAttempts && hr == HRESULT_FROM_WIN32(ERROR_FILE_EXISTS); ++attempt) {
            std::wstring folder = m_path + L"\\";
            if (attempt > 1) {
                folder += std::to_wstring(attempt) + L"\\";
                if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
                    return HRESULT_FROM_WIN32(::GetLastError());
            }
            written = folder + name;
            hr = WritePicture(wic, pixels, container, written);
        }
        return hr;
    }

  private:
    HRESULT Make() {
        if (!m_path.empty())
            return S_OK;
        if (m_temp.size() < 2)
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        LARGE_INTEGER counter{};
        ::QueryPerformanceCounter(&counter);
        const uint64_t seed = (uint64_t{::GetCurrentProcessId()} << 40) ^ static_cast<uint64_t>(counter.QuadPart);
        DWORD error = ERROR_ALREADY_EXISTS;
        for (int attempt = 0; attempt < kFolderAttempts && error == ERROR_ALREADY_EXISTS; ++attempt) {
            const std::wstring path = m_temp + PictureFolderName(seed + static_cast<uint64_t>(attempt));
            if (::CreateDirectoryW(path.c_str(), nullptr)) {
                m_path = path;
                return S_OK;
            }
            error = ::GetLastError();
        }
        return HRESULT_FROM_WIN32(error);
    }

    std::wstring m_temp;
    std::wstring m_path;
};

}  // namespace

PictureStepOutcome MakePicturesSmaller(const std::vector<std::wstring>& files,
                                       PictureSize size,
                                       const std::wstring& tempFolder,
                                       const PictureProgress& progress) {
    PictureStepOutcome outcome;
    outcome.files = files;
    if (size == PictureSize::Original || !AnyPictures(files))
        return outcome;
    WicFactory factory;
    if (!factory.get()) {
        outcome.failure = L"The pictures cannot be made smaller: the Windows Imaging Component is not available.\n\n" +
                          ErrorText(factory.Result());
        return outcome;
    }
    IWICImagingFactory& wic = *factory.get();

    uint64_t total = 0, done = 0;
    for (const std::wstring& file : files) {
        if (IsPictureName(file))
            total += FileBytes(file);
    }
    PictureFolder folder(tempFolder);
    const std::wstring* current = nullptr;
    const KeepGoing keepGoing = [&] { return !progress || progress(done, total, *current); };
    auto stop = [&](bool cancelled, std::wstring failure) {
        if (!folder.Path().empty())
            RemovePictureFolder(folder.Path());
        outcome.files = files;
        outcome.folder.clear();
        outcome.cancelled = cancelled;
        outcome.failure = std::move(failure);
        return outcome;
    };
    for (size_t i = 0; i < files.size(); ++i) {
        if (!IsPictureName(files[i]))
            continue;
        current = &files[i];
        if (!keepGoing())
            return stop(true, {});
        OpenedPicture picture;
        HRESULT hr = OpenPicture(wic, files[i], picture);
        if (SUCCEEDED(hr) && IsMadeSmaller(picture.facts, size)) {
            PicturePixels pixels;
            const PixelSize shown = ShownSize(picture.facts.stored, picture.facts.orientation);
            hr = DecodeSmaller(wic, picture, FittedSize(shown, size), pixels, keepGoing);
            if (hr == E_ABORT)
                return stop(true, {});
            std::wstring written;
            if (SUCCEEDED(hr)) {
                if (const HRESULT wrote = folder.Write(wic, pixels, picture.container, FileNameOf(files[i]), written);
                    FAILED(wrote))
                    return stop(false, L"The smaller picture of \"" + files[i] + L"\" cannot be written to \"" +
                                           (folder.Path().empty() ? tempFolder : folder.Path()) + L"\".\n\n" +
                                           ErrorText(wrote));
                outcome.files[i] = written;
            }
        }
        if (FAILED(hr))
            outcome.unreadable.push_back(files[i]);
        done += picture.facts.bytes;
    }
    if (progress)
        progress(total, total, {});
    outcome.folder = folder.Path();
    RemoveOldPictureFolders(tempFolder, outcome.folder);
    return outcome;
}

std::vector<PictureFacts> ReadPictureFacts(const std::vector<std::wstring>& files) {
    std::vector<PictureFacts> facts;
    WicFactory factory;
    for (const std::wstring& file : files) {
        if (!IsPictureName(file))
            continue;
        OpenedPicture picture;
        if (factory.get()) {
            OpenPicture(*factory.get(), file, picture);
        } else {
            picture.facts.path = file;
            picture.facts.bytes = FileBytes(file);
        }
        facts.push_back(std::move(picture.facts));
    }
    return facts;
}

void RemovePictureFolder(const std::wstring& folder) noexcept {
    const std::wstring base = WithBackslash(folder);
    if (HoldsOnlyPictures(base, true))
        RemoveTree(base);
}

void RemoveOldPictureFolders(const std::wstring& tempFolder, const std::wstring& keep) noexcept {
    if (tempFolder.size() < 2)
        return;
    const std::wstring kept = keep.empty() ? std::wstring() : FileNameOf(keep);
    ContinueOnError(L"RemoveOldPictureFolders", [&] {
        ForEachDayOldEntry(
            WithBackslash(tempFolder) + kPictureFolderPattern,
            [&](const WIN32_FIND_DATAW& entry) {
                return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                       !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                       IsPictureFolderName(entry.cFileName) &&
                       ::CompareStringOrdinal(entry.cFileName, -1, kept.c_str(), -1, TRUE) != CSTR_EQUAL;
            },
            RemovePictureFolder);
    });
}

}  // namespace ferryl
