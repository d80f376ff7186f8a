#include "core/scroll_layout.h"

#include <algorithm>

namespace ferryl {

long PageStep(long total, long visible) {
    if (visible <= 0 || total <= visible)
        return 0;
    long hidden = total - visible;
    return hidden / (hidden / visible + 1);
}

ScrollLayout ComputeScrollLayout(const ScrollLayoutInput& in) {
    ScrollLayout out;
    out.visibleWidth = in.areaWidth;
    out.visibleHeight = in.areaHeight;
    out.needH = in.totalWidth > out.visibleWidth;
    out.needV = in.totalHeight > out.visibleHeight;
    if (out.needV) {
        out.visibleWidth -= in.barWidth;
        out.needH = in.totalWidth > out.visibleWidth;
    }
    if (out.needH) {
        out.visibleHeight -= in.barHeight;
        if (!out.needV && in.totalHeight > out.visibleHeight) {
            out.needV = true;
            out.visibleWidth -= in.barWidth;
        }
    }
    out.visibleWidth = std::max(out.visibleWidth, 0L);
    out.visibleHeight = std::max(out.visibleHeight, 0L);
    if (out.needH) {
        out.maxH = in.totalWidth - out.visibleWidth;
        out.largeH = PageStep(in.totalWidth, out.visibleWidth);
    }
    if (out.needV) {
        out.maxV = in.totalHeight - out.visibleHeight;
        out.largeV = PageStep(in.totalHeight, out.visibleHeight);
    }
    return out;
}

}  // namespace ferryl
