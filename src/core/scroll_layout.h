#pragma once
// Which scroll bars the grid needs and their ranges, from the room it has and the size of its data.
// No window code: the grid feeds it the window's figures and the tests feed it the edge cases.

namespace ferryl {

struct ScrollLayoutInput {
    long areaWidth = 0;  // room for data with neither bar shown (client area, header taken off)
    long areaHeight = 0;
    long totalWidth = 0;   // right edge of the last visible column
    long totalHeight = 0;  // bottom of the last visible row (plus a virtual row to come)
    long barWidth = 0;     // SM_CXVSCROLL
    long barHeight = 0;    // SM_CYHSCROLL
};

struct ScrollLayout {
    bool needH = false;
    bool needV = false;
    long visibleWidth = 0;  // the room that is left once the needed bars are shown
    long visibleHeight = 0;
    long maxH = 0;  // highest scroll offset: the data's far edge lands on the visible area's edge
    long maxV = 0;
    long largeH = 0;  // page step (also the bar's page size)
    long largeV = 0;
};

// Each bar takes its thickness from the other direction only when it is shown; showing one may
// make the other needed.
ScrollLayout ComputeScrollLayout(const ScrollLayoutInput& in);

// The page step for a range: (total - visible) / ((total - visible) / visible + 1), 0 without room.
long PageStep(long total, long visible);

}  // namespace ferryl
