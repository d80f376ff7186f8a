#pragma once
// The common dialogs (open, save, font, colour, printer) behind a property-style object: set the
// properties, call a Show operation, read the results back from the same properties. A cancel
// raises an error when CancelError is set and otherwise leaves the results as they were.

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "common/tagged_value.h"

namespace ferryl {

// Raised by the dialog hook (DialogHook) to the owner; the handle may be changed by the handler.
class cmDlgEvents {
  public:
    virtual ~cmDlgEvents() = default;
    virtual void InitDialog(HWND& /*hDlg*/) {}
    virtual void FileChange(HWND& /*hDlg*/) {}
    virtual void FolderChange(HWND& /*hDlg*/) {}
    virtual void DialogOK() {}
    virtual void TypeChange(HWND& /*hDlg*/) {}
    virtual void DialogClose() {}
};

// What the Font property carries in and out of the font dialog.
struct cmDlgFont {
    std::wstring Name;
    double Size = 0;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
};

class cmDlg {
  public:
    // Error numbers of a cancel (plain numbers, source "Run-time error" for the first two).
    static constexpr long kErrSaveCancelled = 1001;   // ShowSave, ShowFont
    static constexpr long kErrOpenCancelled = 1002;   // ShowOpen
    static constexpr long kErrColorCancelled = 1004;  // ShowColor

    explicit cmDlg(cmDlgEvents* events = nullptr);
    cmDlg(const cmDlg&) = delete;
    cmDlg& operator=(const cmDlg&) = delete;

    void SetEvents(cmDlgEvents* events) noexcept { m_events = events; }

    // The object whose DialogHook receives the hook's messages; not owned. Each file dialog
    // clears it when it closes.
    void HookedDialog(cmDlg* dialog) noexcept { m_hookedDialog = dialog; }
    cmDlg* HookedDialog() const noexcept { return m_hookedDialog; }
    void ClearHookedDialog() noexcept { m_hookedDialog = nullptr; }
    // Forwards to HookedDialog's DialogHook; 0 when none is set.
    long DialogHookFunction(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    // The path selected in an Explorer-style file dialog whose hook dialog is hDlg.
    std::wstring GetComDlgFileName(HWND hDlg) const;
    static std::wstring NullTrim(std::wstring& text);
    TaggedValue DialogHook(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    // Centres the dialog's frame over the window centreOn, or over the desktop work area.
    void CenterDialog(HWND hDlg, HWND centreOn = nullptr) const;

    void FileExt(short iFileExt) noexcept { m_iFileExt = iFileExt; }
    short FileExt() const noexcept { return m_iFileExt; }
    void hwnd(HWND owner) noexcept { m_hwnd = owner; }
    HWND hwnd() const noexcept { return m_hwnd; }

    void ShowSave();
    void ShowOpen();
    void ShowFont();
    void ShowColor();
    bool ShowPrinter();

    // Custom colour 0..15 of the colour dialog; 0 for any other index.
    long CustomColor(int index) const noexcept;
    void Color(long lColor) noexcept { m_lColor = lColor; }
    long Color() const noexcept { return m_lColor; }
    void FontColor(long lColor) noexcept { m_lFontColor = lColor; }
    long FontColor() const noexcept { return m_lFontColor; }
    void FontMinSize(long lSize) noexcept { m_lFontMinSize = lSize; }
    void FontMaxSize(long lSize) noexcept { m_lFontMaxSize = lSize; }
    void InitDir(std::wstring sDir) { m_sInitDir = std::move(sDir); }
    const std::wstring& InitDir() const noexcept { return m_sInitDir; }

    // FileFlags, FontFlags and ColorFlags are the one flags value under other names.
    void flags(unsigned long lFlags) noexcept { m_lFlags = lFlags; }
    unsigned long flags() const noexcept { return m_lFlags; }
    void FileFlags(unsigned long lFlags) noexcept { m_lFlags = lFlags; }
    unsigned long FileFlags() const noexcept { return m_lFlags; }
    void FontFlags(unsigned long lFlags) noexcept { m_lFlags = lFlags; }
    unsigned long FontFlags() const noexcept { return m_lFlags; }
    void ColorFlags(unsigned long lFlags) noexcept { m_lFlags = lFlags; }
    unsigned long ColorFlags() const noexcept { return m_lFlags; }

    // Descriptions and patterns separated by "|".
    void Filter(std::wstring_view sFilter);
    std::wstring Filter() const;
    void FilterIndex(short iIndex) noexcept { m_iFilterIndex = iIndex; }
    short FilterIndex() const noexcept { return m_iFilterIndex; }
    void FileTitle(std::wstring sTitle) { m_sFileTitle = std::move(sTitle); }
    const std::wstring& FileTitle() const noexcept { return m_sFileTitle; }
    void FileName(std::wstring sName) { m_sFileName = std::move(sName); }
    const std::wstring& FileName() const noexcept { return m_sFileName; }
    void DialogTitle(std::wstring sTitle) { m_sDialogTitle = std::move(sTitle); }
    const std::wstring& DialogTitle() const noexcept { return m_sDialogTitle; }
    void DefaultExt(std::wstring sExt) { m_sDefaultExt = std::move(sExt); }
    const std::wstring& DefaultExt() const noexcept { return m_sDefaultExt; }
    void CancelError(bool bCancelError) noexcept { m_bCancelError = bCancelError; }
    bool CancelError() const noexcept { return m_bCancelError; }

    bool FontBold() const noexcept { return m_font.Bold; }
    void FontBold(bool bBold) noexcept { m_font.Bold = bBold; }
    bool FontItalic() const noexcept { return m_font.Italic; }
    void FontItalic(bool bItalic) noexcept { m_font.Italic = bItalic; }
    const std::wstring& FontName() const noexcept { return m_font.Name; }
    void FontName(std::wstring sName) { m_font.Name = std::move(sName); }
    double FontSize() const noexcept { return m_font.Size; }
    void FontSize(double size) noexcept { m_font.Size = size; }
    const cmDlgFont& Font() const noexcept { return m_font; }
    void Font(const cmDlgFont& font) { m_font = font; }
    bool Hook() const noexcept { return m_bHook; }
    void Hook(bool bHook) noexcept { m_bHook = bHook; }

    // The CommDlgExtendedError code of the last dialog that failed; 0 when none has.
    unsigned long LastExtendedError() const noexcept { return m_lExtendedError; }

  private:
    void ShowFileDialog(bool bSave);
    // After a dialog returned 0: raises the system's failure code, or the cancel error when
    // CancelError is set; returns when it was a cancel without error.
    void OnDialogClosedWithoutChoice(long cancelNumber, const wchar_t* source, const wchar_t* description);
    static UINT_PTR CALLBACK FileHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    cmDlgEvents* m_events = nullptr;
    cmDlg* m_hookedDialog = nullptr;
    bool m_bCancelError = false;
    std::wstring m_sDefaultExt;
    std::wstring m_sDialogTitle;
    std::wstring m_sFileName;
    std::wstring m_sFileTitle;
    std::wstring m_sFilter;  // stored as the dialogs want it, NUL-separated
    short m_iFilterIndex = 1;
    unsigned long m_lFlags = 0;
    std::wstring m_sInitDir;
    HWND m_hwnd = nullptr;
    short m_iFileExt = 0;
    bool m_bHook = false;
    long m_lColor = 0;
    long m_lFontColor = 0;
    long m_lFontMinSize = 0;
    long m_lFontMaxSize = 0;
    cmDlgFont m_font;
    std::array<COLORREF, 16> m_customColors{};
    unsigned long m_lExtendedError = 0;
};

}  // namespace ferryl
