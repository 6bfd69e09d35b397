#pragma once
// Where the main window's moving controls stand, in twips, and how the
// layout pass and the splitter drag change that. Pure: the window applies
// the places to its widgets afterwards.

#include <QMargins>
#include <QRect>
#include <cstdint>

namespace FormLayout {

inline constexpr int kTwipsPerPixel = 15;
// SplitterDragX while no drag is under way.
inline constexpr std::int32_t kNoDrag = 2147483647;
inline constexpr int kSplitterWidth = 25;
// Grid two and its path box end this far inside the client area's right
// edge, as designed, so that grid two's vertical scroll bar stays visible.
inline constexpr int kGridTwoRightMargin = 60;

struct Place {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Place&, const Place&) = default;
};

struct Places {
    Place txtFileOne;
    Place txtFileTwo;
    Place grdFileOne;
    Place grdFileTwo;
    Place Splitter;
    Place rtfLineDiff0;
    Place rtfLineDiff1;
};

// The places as designed for a client area of 10305 x 6630.
[[nodiscard]] Places DesignedPlaces();

// The layout pass for a client area of the given size. Grid one keeps its
// Left and Top and never grows; it shrinks when it would push the splitter
// and grid two out of the client area.
void LayOut(Places& places, int clientWidth, int clientHeight, std::int16_t layoutMargin);

// Where the window opens, in pixels: its designed size, made smaller where
// the screen's available area less the window's frame is smaller, and
// centred in that area with its frame.
[[nodiscard]] QRect OpeningGeometry(QSize designed, const QRect& available, const QMargins& frame);

// The left edge of the pane-tooltip box: where it was designed, moved left
// only as far as it takes to end inside the client area, and never onto
// the toolbar, whose right edge is minLeft.
[[nodiscard]] int CheckBoxLeft(int designedLeft, int width, int clientWidth, int minLeft);

// Rounds a pointer position as whole twips are kept (to nearest, ties to even).
[[nodiscard]] std::int32_t WholeTwips(double x);

// The splitter drag. x is the pointer's position inside the splitter.
struct SplitterDrag {
    std::int32_t SplitterDragX = kNoDrag;
    [[nodiscard]] bool Dragging() const { return SplitterDragX != kNoDrag; }
};

// A left-button press starts a drag; SplitterMouseUp ends one.
void SplitterMouseDown(SplitterDrag& drag, double x);
void SplitterMouseMove(Places& places, SplitterDrag& drag, double x);
// Returns true when a drag ended, after which the layout pass must run.
[[nodiscard]] bool SplitterMouseUp(Places& places, SplitterDrag& drag, double x);

}  // namespace FormLayout
