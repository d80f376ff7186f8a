#include "core/sort_shell_order.h"

namespace ferryl {

std::size_t InitialGap(std::size_t count) noexcept {
    std::size_t gap = 1;
    while (gap * 3 + 1 < count)
        gap = gap * 3 + 1;
    return gap;
}

}  // namespace ferryl
