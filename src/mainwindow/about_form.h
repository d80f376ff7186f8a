#pragma once
// The About box: the program's name and version, two buttons that open the maker's web pages, and
// Close. Loaded on first use, then kept (hidden) until the program ends.

#include <string>

#include "common/unique_handle.h"
#include "mainwindow/form_controls.h"
#include "version.h"
#include "winsvc/window.h"

namespace ferryl {

inline constexpr wchar_t kHomePageUrl[] = L"" FERRYL_HOME_PAGE;
inline constexpr wchar_t kDonationsUrl[] = L"" FERRYL_HOME_PAGE "donate";

class AboutF : public Window {
  public:
    // Creates the box, hidden, and composes its text. Does nothing when it is loaded already.
    bool Load();
    bool IsLoaded() const { return Hwnd() != nullptr; }

    // Moves the box's top-left corner to the given screen point (its size stays) and shows it
    // modally with the owner disabled; returns once the box is closed.
    void ShowModal(HWND owner, POINT topLeft);

    std::wstring LabelText() const;
    HWND CloseButton() const { return m_cbClose; }
    HWND HomePageButton() const { return m_cbWebHomePage; }
    HWND DonationsButton() const { return m_cbWebDonations; }
    HWND Label() const { return m_LabelAbout; }
    HWND Frame() const { return m_Frame; }
    HWND Picture() const { return m_pbFYH; }
    // The DPI the box is laid out for.
    int Dpi() const { return m_dpi; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

  private:
    void Form_Load();
    void cbClose_Click();
    void cbWebHomePage_Click();
    void cbWebDonations_Click();
    HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, int id, TwipsBox designed);
    // The client size from twips, the picture at its size: at load and when the DPI changes.
    void SizeToDesign();
    void LoadPicture();
    // The font, the controls' places and the picture at `dpi`.
    void ApplyDpi(int dpi);
    void OnDpiChanged(int dpi, const RECT& suggested);

    int m_dpi = 96;
    FormLayout m_layout;
    UniqueFont m_font;
    UniqueIcon m_icon;
    HWND m_LabelAbout = nullptr;
    HWND m_Frame = nullptr;
    HWND m_cbWebHomePage = nullptr;
    HWND m_cbWebDonations = nullptr;
    HWND m_pbFYH = nullptr;
    HWND m_cbClose = nullptr;
};

}  // namespace ferryl
