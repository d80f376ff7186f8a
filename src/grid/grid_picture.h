#pragma once
// A picture the grid can tile behind its cells: a bitmap it owns, with its size in pixels.

#include <windows.h>

#include "common/tagged_value.h"
#include "common/unique_handle.h"

namespace ferryl {

class GridPicture : public Object {
  public:
    // Takes ownership of the bitmap.
    explicit GridPicture(HBITMAP bitmap) noexcept : m_bitmap(bitmap) {
        BITMAP info{};
        if (bitmap && ::GetObjectW(bitmap, sizeof(info), &info)) {
            m_width = info.bmWidth;
            m_height = info.bmHeight;
        }
    }
    HBITMAP Handle() const noexcept { return m_bitmap.get(); }
    long Width() const noexcept { return m_width; }
    long Height() const noexcept { return m_height; }

  private:
    UniqueBitmap m_bitmap;
    long m_width = 0;
    long m_height = 0;
};

}  // namespace ferryl
