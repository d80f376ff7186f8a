#include "mainwindow/window_rules.h"

#include <cwchar>

namespace ferryl {

std::optional<Size> SnappedSize(Size outer, Size minimum) {
    if (outer.width >= minimum.width && outer.height >= minimum.height)
        return std::nullopt;
    return Size{outer.width < minimum.width ? minimum.width : outer.width,
                outer.height < minimum.height ? minimum.height : outer.height};
}

MainLayout LayOut(Size client, long panelHeight, long sendNowWidth, long sendNowMargin) {
    MainLayout layout;
    const long listHeight = client.height - panelHeight;
    layout.lista = Rect{0, 0, client.width, listHeight < 0 ? 0 : listHeight};
    layout.panel = Rect{0, client.height - panelHeight, client.width, panelHeight};
    layout.sendNowLeft = client.width - sendNowWidth - sendNowMargin;
    return layout;
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

// The number at the start of a text, as Val reads it: leading blanks skipped, 0 when none.
std::optional<long> ValueOf(const std::wstring& text) {
    if (text.empty())
        return std::nullopt;
    const double value = std::wcstod(text.c_str(), nullptr);
    // Far off-screen values are applied as they are, but must fit the window functions' int.
    if (value > 1e9 || value < -1e9)
        return value > 0 ? 1000000000L : -1000000000L;
    return static_cast<long>(value < 0 ? value - 0.5 : value + 0.5);
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
