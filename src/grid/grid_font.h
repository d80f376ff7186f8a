#pragma once
// The font object of the grid (the control's Font, a cell's font, a format object's Font) and the
// grid's font list, in which each distinct cell font exists once with one GDI font.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/tagged_value.h"
#include "common/unique_handle.h"

namespace ferryl {

class GridFont : public Object {
  public:
    GridFont() = default;
    GridFont(std::wstring name,
             double size,
             bool bold = false,
             bool italic = false,
             bool underline = false,
             bool strikethrough = false)
        : Name(std::move(name)),
          Size(size),
          Bold(bold),
          Italic(italic),
          Underline(underline),
          Strikethrough(strikethrough) {}

    std::wstring Name = L"MS Sans Serif";
    double Size = 8.0;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;

    // Equal on size, name (exact text), bold, italic, underline and strikethrough.
    bool SameAs(const GridFont& other) const noexcept;

    // The logical font for a device context: the point size turned into a character height in the
    // context's pixels.
    LOGFONTW ToLogFont(HDC dc) const;
    // The same at a DPI: a window's, which under per-monitor awareness its device context does not tell.
    LOGFONTW ToLogFont(int dpi) const;
};
using GridFontRef = std::shared_ptr<GridFont>;

// A GDI font made from a font object at a DPI.
UniqueFont CreateGridFont(const GridFont& font, int dpi);

// Entries 1..Count(); entry 0 stands for the control's own font and is not held here.
class GridFontList {
  public:
    // The index of an entry equal to the font, adding a copy of it (and its GDI font at `dpi`) when
    // there is none.
    long FindOrAdd(const GridFont& font, int dpi);
    // Makes every entry's GDI font again at `dpi`; the indexes stay.
    void Recreate(int dpi);

    long Count() const noexcept { return static_cast<long>(m_entries.size()); }
    // Nothing for 0 or an index that is not in the list.
    GridFontRef FontAt(long index) const;
    HFONT HandleAt(long index) const noexcept;

  private:
    struct Entry {
        GridFontRef font;
        UniqueFont handle;
    };
    std::vector<Entry> m_entries;
};

}  // namespace ferryl
