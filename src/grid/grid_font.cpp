#include "grid/grid_font.h"

#include <cmath>

namespace ferryl {

bool GridFont::SameAs(const GridFont& other) const noexcept {
    return Size == other.Size && Name == other.Name && Bold == other.Bold && Italic == other.Italic &&
           Underline == other.Underline && Strikethrough == other.Strikethrough;
}

LOGFONTW GridFont::ToLogFont(HDC dc) const {
    int pixelsPerInch = 96;
    if (dc) {
        pixelsPerInch = ::GetDeviceCaps(dc, LOGPIXELSY);
    } else if (WindowDC screen(nullptr); screen) {
        pixelsPerInch = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    return ToLogFont(pixelsPerInch);
}

LOGFONTW GridFont::ToLogFont(int pixelsPerInch) const {
    LOGFONTW logFont{};
    // Negative: the size is the character height without internal leading, as point sizes mean.
    logFont.lfHeight = -static_cast<LONG>(std::lround(Size * pixelsPerInch / 72.0));
    logFont.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = Italic ? TRUE : FALSE;
    logFont.lfUnderline = Underline ? TRUE : FALSE;
    logFont.lfStrikeOut = Strikethrough ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    Name.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    return logFont;
}

UniqueFont CreateGridFont(const GridFont& font, int dpi) {
    LOGFONTW logFont = font.ToLogFont(dpi);
    return UniqueFont(::CreateFontIndirectW(&logFont));
}

long GridFontList::FindOrAdd(const GridFont& font, int dpi) {
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].font->SameAs(font))
            return static_cast<long>(i + 1);
    }
    // The list keeps its own copy: the caller may change its object later without changing cells.
    Entry entry{std::make_shared<GridFont>(font), CreateGridFont(font, dpi)};
    m_entries.push_back(std::move(entry));
    return static_cast<long>(m_entries.size());
}

void GridFontList::Recreate(int dpi) {
    // Cell fonts are selected only while a cell is drawn or measured, so none is in use here.
    for (Entry& entry : m_entries)
        entry.handle = CreateGridFont(*entry.font, dpi);
}

GridFontRef GridFontList::FontAt(long index) const {
    if (index < 1 || index > Count())
        return nullptr;
    return m_entries[static_cast<size_t>(index - 1)].font;
}

HFONT GridFontList::HandleAt(long index) const noexcept {
    if (index < 1 || index > Count())
        return nullptr;
    return m_entries[static_cast<size_t>(index - 1)].handle.get();
}

}  // namespace ferryl
