#pragma once
// What the command-line intake needs of the main window (FerrylF): showing it, and its file list
// `Lista` and "&Send Now" button `send_nowD`. The main window implements it; until it exists the
// intake runs without one.

#include <string>

#include "app/file_entry.h"

namespace ferryl {

// The file list's columns, as the intake and the main window write them and Send Now reads them.
inline constexpr long kColumnName = 1;
inline constexpr long kColumnDate = 2;
inline constexpr long kColumnSize = 3;
inline constexpr long kColumnPath = 4;
// The size column's text is aligned right (DT_RIGHT).
inline constexpr long kSizeColumnAlign = 2;
// The list's row numbers are 16-bit; past this many rows further files are not added, and the user
// is told how many.
inline constexpr long kMaxListRows = 32767;

class FileListTarget {
  public:
    virtual ~FileListTarget() = default;

    // Shows the main window when it is not visible, loading it when it is not loaded.
    virtual void ShowMainWindow() = 0;
    // Sets the main window's state to normal when it is minimised.
    virtual void RestoreMainWindow() = 0;

    // `Lista`.`Rows`.
    virtual long Rows() = 0;
    // `Lista`.`Cell`(lRow, lCol).`Text`.
    virtual std::wstring CellText(long lRow, long lCol) = 0;
    // Appends the entry's row to `Lista` in one step: the whole row, or nothing when it fails.
    virtual void AddRow(const FileEntry& entry) = 0;
    // `Lista`.`CellSelected`(lRow, lCol) = bSelected.
    virtual void CellSelected(long lRow, long lCol, bool bSelected) = 0;
    // `send_nowD`.Enabled = True.
    virtual void EnableSendNow() = 0;
    // Tells the user that `notListed` files were not listed, the list being full.
    virtual void ReportListFull(long notListed) = 0;
};

}  // namespace ferryl
