#include "mainwindow/FormLayout.h"

#include "compare/Rounding.h"

#include <algorithm>

namespace FormLayout {
namespace {

void PlaceSplitter(Places& places, int left)
{
    places.Splitter = {left, places.grdFileOne.Top, kSplitterWidth, places.grdFileOne.Height};
}

}  // namespace

Places DesignedPlaces()
{
    Places places;
    places.txtFileOne = {540, 480, 4815, 315};
    places.txtFileTwo = {5400, 480, 4815, 315};
    places.grdFileOne = {510, 840, 4845, 5025};
    places.grdFileTwo = {5400, 840, 4845, 5025};
    places.Splitter = {5340, 660, 45, 5175};
    places.rtfLineDiff0 = {30, 5880, 10245, 375};
    places.rtfLineDiff1 = {30, 6240, 10245, 375};
    return places;
}

QRect OpeningGeometry(QSize designed, const QRect& available, const QMargins& frame)
{
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = designed.boundedTo(room).expandedTo(QSize(0, 0));
    // The title bar never starts above or left of the area, where it could
    // not be reached to move the window.
    const QPoint corner(
        available.left() + std::max(0, (available.width() - size.width() - frame.left() - frame.right()) / 2),
        available.top() + std::max(0, (available.height() - size.height() - frame.top() - frame.bottom()) / 2));
    return QRect(corner + QPoint(frame.left(), frame.top()), size);
}

int CheckBoxLeft(int designedLeft, int width, int clientWidth, int minLeft)
{
    return std::max(std::min(designedLeft, clientWidth - width), minLeft);
}

std::int32_t WholeTwips(double x)
{
    return static_cast<std::int32_t>(Rounding::RoundHalfEven(x));
}

void LayOut(Places& places, int clientWidth, int clientHeight, std::int16_t layoutMargin)
{
    const int detailHeight = places.rtfLineDiff0.Height;
    const int gridHeight = WholeTwips(clientHeight - 2.0 * detailHeight - 4.2 * layoutMargin);
    Place& one = places.grdFileOne;
    places.txtFileOne.Left = one.Left;
    // Grid one may only grow as far as leaves room for the splitter and
    // grid two's margin; wider, the splitter would leave the window and
    // could not be dragged back.
    const int widest = std::max(0, clientWidth - one.Left - kSplitterWidth - kGridTwoRightMargin);
    if (one.Width > widest)
        one.Width = widest;
    places.txtFileOne.Width = one.Width;
    if (gridHeight >= 0)
        one.Height = gridHeight;
    Place& two = places.grdFileTwo;
    two.Left = one.Left + one.Width + kSplitterWidth;
    places.txtFileTwo.Left = two.Left;
    two.Width = std::max(0, clientWidth - two.Left - kGridTwoRightMargin);
    places.txtFileTwo.Width = two.Width;
    two.Top = one.Top;
    two.Height = one.Height;
    places.rtfLineDiff0.Top = one.Top + gridHeight;
    places.rtfLineDiff1.Top = places.rtfLineDiff0.Top + places.rtfLineDiff0.Height;
    places.rtfLineDiff0.Width = clientWidth - layoutMargin;
    places.rtfLineDiff1.Width = places.rtfLineDiff0.Width;
    PlaceSplitter(places, one.Left + one.Width);
}

void SplitterMouseDown(SplitterDrag& drag, double x)
{
    drag.SplitterDragX = WholeTwips(x);
}

void SplitterMouseMove(Places& places, SplitterDrag& drag, double x)
{
    if (!drag.Dragging() || WholeTwips(x) == drag.SplitterDragX)
        return;
    const int left = WholeTwips(places.Splitter.Left + x);
    // Never onto or left of grid one's left edge; no limit on the right.
    if (places.grdFileOne.Left < left) {
        PlaceSplitter(places, left);
        drag.SplitterDragX = WholeTwips(x);
    }
}

bool SplitterMouseUp(Places& places, SplitterDrag& drag, double x)
{
    if (!drag.Dragging())
        return false;
    if (WholeTwips(x) != drag.SplitterDragX)
        PlaceSplitter(places, WholeTwips(places.Splitter.Left + x));
    drag.SplitterDragX = kNoDrag;
    if (places.grdFileOne.Left < places.Splitter.Left)
        places.grdFileOne.Width = places.Splitter.Left - places.grdFileOne.Left;
    places.txtFileOne.Width = places.grdFileOne.Width;
    return true;
}

}  // namespace FormLayout
