#pragma once
// The events MoskGrid raises to its owner, in the order of their numbers. A parameter passed by
// reference may be changed by the owner; the grid reads it back. Every body is empty so that an
// owner overrides only what it handles.

#include <string>
#include <string_view>

namespace ferryl {

class MoskGridListener {
  public:
    virtual ~MoskGridListener() = default;

    virtual void ColumnClick(long /*lCol*/) {}
    virtual void ColumnWidthStartChange(long /*lCol*/, long /*lWidth*/, bool& /*bCancel*/) {}
    virtual void ColumnWidthChanging(long /*lCol*/, long /*lWidth*/, bool& /*bCancel*/) {}
    virtual void ColumnWidthChanged(long /*lCol*/, long /*lWidth*/, bool& /*bCancel*/) {}
    // x and y in twips relative to the header.
    virtual void HeaderRightClick(float /*x*/, float /*y*/) {}
    virtual void SelectionChange(long /*lRow*/, long /*lCol*/) {}
    virtual void RequestEdit(long /*lRow*/, long /*lCol*/, short /*iKeyAscii*/, bool& /*bCancel*/) {}
    virtual void CancelEdit() {}
    virtual void KeyDown(short& /*KeyCode*/, short& /*Shift*/, bool& /*bDoDefault*/) {}
    virtual void KeyPress(short& /*KeyAscii*/) {}
    virtual void KeyUp(short& /*KeyCode*/, short& /*Shift*/) {}
    // Mouse positions in twips.
    virtual void MouseDown(short& /*Button*/, short& /*Shift*/, float& /*x*/, float& /*y*/, bool& /*bDoDefault*/) {}
    virtual void MouseMove(short& /*Button*/, short& /*Shift*/, float& /*x*/, float& /*y*/) {}
    virtual void MouseUp(short& /*Button*/, short& /*Shift*/, float& /*x*/, float& /*y*/) {}
    virtual void DblClick(long /*lRow*/, long /*lCol*/) {}
    // Virtual mode: only bNoMoreRows is read back.
    virtual void RequestRow(long /*lRow*/,
                            std::wstring& /*sKey*/,
                            bool& /*bVisible*/,
                            long& /*lHeight*/,
                            bool& /*bGroupRow*/,
                            bool& /*bNoMoreRows*/) {}
    virtual void RequestRowData(long /*lRow*/) {}
    virtual void ColumnOrderChanged() {}

    // Not one of the grid's events: the container's notice that a stored property changed, so that
    // the window holding the grid knows it must be saved.
    virtual void PropertyChanged(std::wstring_view /*name*/) {}
    // Not one of the grid's events: rows were added or removed, for an owner that shows their count.
    // Told at each change, so a batch tells it once per row.
    virtual void RowsChanged() {}
    // Not one of the grid's events: what a screen reader calls row lRow. sName comes as the row's
    // cells as shown, joined with ", "; the owner may say it better.
    virtual void RowAccessibleName(long /*lRow*/, std::wstring& /*sName*/) {}
};

}  // namespace ferryl
