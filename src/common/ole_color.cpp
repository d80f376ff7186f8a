#include "common/ole_color.h"

#include <olectl.h>

namespace ferryl {

long TranslateColor(OleColor color, HPALETTE palette) {
    COLORREF rgb = 0;
    if (FAILED(::OleTranslateColor(static_cast<OLE_COLOR>(color), palette, &rgb)))
        return -1;
    return static_cast<long>(rgb);
}

}  // namespace ferryl
