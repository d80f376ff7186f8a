#pragma once
// The main window's rules that need no system calls: the resize rule's arithmetic, the window
// count that decides whether closing the main window ends the program, and the saved geometry.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ferryl {

// Smallest outer size the main window keeps, in twips.
inline constexpr long kMinimumWindowWidth = 6000;
inline constexpr long kMinimumWindowHeight = 3000;
// "&Send Now" keeps this much room to the right edge of the client area, in twips.
inline constexpr long kSendNowRightMargin = 100;

struct Size {
    long width = 0;
    long height = 0;
    bool operator==(const Size&) const = default;
};

// The outer size after the resize rule (any unit, given the minimum in the same unit); nothing
// when the size may stay.
std::optional<Size> SnappedSize(Size outer, Size minimum);

struct Rect {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
    bool operator==(const Rect&) const = default;
};

struct MainLayout {
    Rect lista;            // the file list, above the status line
    Rect status;           // the line with the count and total, between the list and the panel
    Rect panel;            // the bottom panel, docked to the bottom edge at full width
    long sendNowLeft = 0;  // in the panel's coordinates
};

// Where the list, the status line, the panel and "&Send Now" go in a client area of the given
// size. The status line takes its room from the list, so the panel keeps its designed place.
MainLayout LayOut(Size client, long panelHeight, long statusHeight, long sendNowWidth, long sendNowMargin);

// The window's rectangle moved, and shrunk where it is larger, so that it lies inside `area` (the
// work area of its monitor): a saved place on a monitor that is gone, or a size designed for a
// lower DPI, never leaves the window off the screen.
Rect PlacedInside(Rect window, Rect area);

// Closing the main window ends the program while fewer than three windows are loaded (the main
// window and the hidden receiving window); a loaded About box keeps it running.
bool ClosingEndsProgram(int loadedWindows);

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// The keys and values written to "Window Position" at unload, in their order: only the state when
// minimised or maximised, otherwise the state and then height, width, top and left in twips.
std::vector<std::pair<std::wstring, std::wstring>> GeometryToSave(WindowState state, const Rect& outerTwips);

// What the window applies at load from the four saved texts (top, left, height, width): a value
// only where the text is a whole decimal number (blanks and tabs around it allowed); an empty
// text, or one that is no such number, keeps the designed value. Values beyond a billion twips
// are held there.
struct SavedGeometry {
    std::optional<long> top, left, height, width;
};
SavedGeometry ParseGeometry(const std::wstring& top,
                            const std::wstring& left,
                            const std::wstring& height,
                            const std::wstring& width);
// The saved state text: "2" maximised, "1" minimised, anything else normal.
WindowState ParseWindowState(const std::wstring& text);

}  // namespace ferryl
