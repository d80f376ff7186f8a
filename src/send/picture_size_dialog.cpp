#include "send/picture_size_dialog.h"

#include "common/byte_size.h"
#include "core/path_rules.h"
#include "mainwindow/picture_size_resource.h"
#include "settings/picture_size_setting.h"
#include "winsvc/resource_dialog.h"

namespace ferryl {

namespace {

int ButtonOf(PictureSize size) {
    switch (size) {
        case PictureSize::Smaller:
            return IDC_PICTURE_SMALLER;
        case PictureSize::Small:
            return IDC_PICTURE_SMALL;
        case PictureSize::Medium:
            return IDC_PICTURE_MEDIUM;
        case PictureSize::Large:
            return IDC_PICTURE_LARGE;
        case PictureSize::Original:
            break;
    }
    return IDC_PICTURE_ORIGINAL;
}

class PictureSizeDialog : public ResourceDialog {
  public:
    PictureSizeDialog(const std::vector<PictureFacts>& pictures, PictureSize current)
        : m_pictures(pictures), m_chosen(current) {}

    std::optional<PictureSize> Show(HWND owner) {
        if (Run(owner, IDD_PICTURE_SIZE, L"PictureSizeDialog") != IDOK)
            return std::nullopt;
        return m_chosen;
    }

  private:
    INT_PTR OnInitDialog() override {
        for (PictureSize size : kPictureSizeChoices)
            ::SetDlgItemTextW(Dialog(), ButtonOf(size), PictureSizeCaption(size).c_str());
        ::CheckRadioButton(Dialog(), IDC_PICTURE_SMALLER, IDC_PICTURE_ORIGINAL, ButtonOf(m_chosen));
        uint64_t bytes = 0;
        for (const PictureFacts& picture : m_pictures)
            bytes += picture.bytes;
        const size_t count = m_pictures.size();
        const std::wstring now = L"Pictures now: " + std::to_wstring(count) +
                                 (count == 1 ? L" picture, " : L" pictures, ") + ByteSizeText(bytes);
        ::SetDlgItemTextW(Dialog(), IDC_PICTURE_NOW, now.c_str());
        ShowEstimate();
        ListUnreadable();
        // The keyboard starts on the size chosen; the arrows move among the sizes.
        ::SetFocus(::GetDlgItem(Dialog(), ButtonOf(m_chosen)));
        return FALSE;
    }

    void ShowEstimate() {
        const std::wstring text = L"Estimated size: " + ByteSizeText(EstimatedBytes(m_pictures, m_chosen));
        ::SetDlgItemTextW(Dialog(), IDC_PICTURE_ESTIMATE, text.c_str());
    }

    // The files that cannot be read as pictures; without any, their list goes and the dialog
    // closes up over it.
    void ListUnreadable() {
        const HWND list = ::GetDlgItem(Dialog(), IDC_PICTURE_UNREADABLE);
        for (const PictureFacts& picture : m_pictures) {
            if (!picture.readable)
                ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FileNameOf(picture.path).c_str()));
        }
        const HWND label = ::GetDlgItem(Dialog(), IDC_PICTURE_UNREADABLE_LABEL);
        if (::SendMessageW(list, LB_GETCOUNT, 0, 0) > 0) {
            // The list's name for screen readers: Windows takes the label before it, Wine's Active
            // Accessibility only the list's own text, which a list box does not show.
            wchar_t text[128] = {};
            ::GetWindowTextW(label, text, 128);
            ::SetWindowTextW(list, text);
            return;
        }
        RECT labelPlace = PlaceOf(label), okPlace = PlaceOf(::GetDlgItem(Dialog(), IDOK));
        const int shift = okPlace.top - labelPlace.top;
        ::ShowWindow(label, SW_HIDE);
        ::ShowWindow(list, SW_HIDE);
        for (int id : {IDOK, IDCANCEL}) {
            const HWND button = ::GetDlgItem(Dialog(), id);
            const RECT place = PlaceOf(button);
            ::SetWindowPos(button, nullptr, place.left, place.top - shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        RECT outer{};
        ::GetWindowRect(Dialog(), &outer);
        ::SetWindowPos(Dialog(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top - shift,
                       SWP_NOMOVE | SWP_NOZORDER);
    }

    RECT PlaceOf(HWND control) const {
        RECT place{};
        ::GetWindowRect(control, &place);
        ::MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    void OnCommand(int id, int code) override {
        switch (id) {
            case IDOK:
            case IDCANCEL:
                ::EndDialog(Dialog(), id);
                break;
            default:
                for (PictureSize size : kPictureSizeChoices) {
                    if (id == ButtonOf(size) && code == BN_CLICKED) {
                        m_chosen = size;
                        ShowEstimate();
                    }
                }
                break;
        }
    }

    const std::vector<PictureFacts>& m_pictures;
    PictureSize m_chosen;
};

}  // namespace

std::wstring PictureSizeCaption(PictureSize size) {
    const PixelSize box = PictureBox(size);
    const std::wstring sides = L": " + std::to_wstring(box.width) + L" \u00D7 " + std::to_wstring(box.height);
    switch (size) {
        case PictureSize::Smaller:
            return L"Smalle&r" + sides;
        case PictureSize::Small:
            return L"&Small" + sides;
        case PictureSize::Medium:
            return L"&Medium" + sides;
        case PictureSize::Large:
            return L"&Large" + sides;
        case PictureSize::Original:
            break;
    }
    return L"&Original size";
}

std::optional<PictureSize> AskPictureSize(HWND owner,
                                          const std::vector<PictureFacts>& pictures,
                                          const std::wstring& iniFile) {
    // The size kept is the one chosen first.
    const std::optional<PictureSize> chosen = PictureSizeDialog(pictures, ReadPictureSize(iniFile)).Show(owner);
    if (chosen)
        KeepPictureSize(*chosen, iniFile);
    return chosen;
}

}  // namespace ferryl
