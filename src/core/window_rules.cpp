#include "core/window_rules.h"

#include <algorithm>

namespace ferryl {

std::optional<Size> SnappedSize(Size outer, Size minimum) {
    if (outer.width >= minimum.width && outer.height >= minimum.height)
        return std::nullopt;
    return Size{outer.width < minimum.width ? minimum.width : outer.width,
                outer.height < minimum.height ? minimum.height : outer.height};
}

MainLayout LayOut(Size client, long panelHeight, long statusHeight, long sendNowWidth, long sendNowMargin) {
    MainLayout layout;
    const long panelTop = client.height - panelHeight;
    const long statusTop = std::max(panelTop - statusHeight, 0L);
    layout.lista = Rect{0, 0, client.width, statusTop};
    layout.status = Rect{0, statusTop, client.width, std::max(panelTop - statusTop, 0L)};
    layout.panel = Rect{0, panelTop, client.width, panelHeight};
    layout.sendNowLeft = client.width - sendNowWidth - sendNowMargin;
    return layout;
}

Rect PlacedInside(Rect window, Rect area) {
    window.width = std::min(window.width, area.width);
    window.height = std::min(window.height, area.height);
    window.left = std::clamp(window.left, area.left, area.left + area.width - window.width);
    window.top = std::clamp(window.top, area.top, area.top + area.height - window.height);
    return window;
}

bool ClosingEndsProgram(int loadedWindows) {
    return loadedWindows < 3;
}

std::vector<std::pair<std::wstring, std::wstring>> GeometryToSave(WindowState state, const Rect& outerTwips) {
    switch (state) {
        case WindowState::Maximized:
            return {{L"WindowState", L"2"}};
        case WindowState::Minimized:
            return {{L"WindowState", L"1"}};
        case WindowState::Normal:
            break;
    }
    return {{L"WindowState", L"0"},
            {L"WindowHeight", std::to_wstring(outerTwips.height)},
            {L"WindowWidth", std::to_wstring(outerTwips.width)},
            {L"WindowTop", std::to_wstring(outerTwips.top)},
            {L"WindowLeft", std::to_wstring(outerTwips.left)}};
}

namespace {

// A saved value as the program writes it: a whole number in decimal, blanks and tabs around it
// allowed (a hand-edited Ferryl.ini may align its values with either). Anything else ("abc",
// "12.5", "nan", "1e400", "0x10") is no position of ours and is skipped.
std::optional<long> ValueOf(const std::wstring& text) {
    constexpr wchar_t kBlanks[] = L" \t";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos)
        return std::nullopt;
    const size_t last = text.find_last_not_of(kBlanks);
    size_t i = first;
    const bool negative = text[i] == L'-';
    if (text[i] == L'-' || text[i] == L'+')
        ++i;
    if (i > last)
        return std::nullopt;
    // Far off-screen values are applied as they are, but must fit the window functions' int.
    constexpr long long kLimit = 1000000000LL;
    long long value = 0;
    for (; i <= last; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = std::min(value * 10 + (text[i] - L'0'), kLimit);
    }
    return static_cast<long>(negative ? -value : value);
}

}  // namespace

SavedGeometry ParseGeometry(const std::wstring& top,
                            const std::wstring& left,
                            const std::wstring& height,
                            const std::wstring& width) {
    return SavedGeometry{ValueOf(top), ValueOf(left), ValueOf(height), ValueOf(width)};
}

WindowState ParseWindowState(const std::wstring& text) {
    if (text == L"2")
        return WindowState::Maximized;
    if (text == L"1")
        return WindowState::Minimized;
    return WindowState::Normal;
}

}  // namespace ferryl
