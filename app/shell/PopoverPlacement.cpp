#include "shell/PopoverPlacement.h"

#include <algorithm>

namespace {

// Edges past the last pixel, so the arithmetic stays exact.
int endX(const QRect& r)
{
    return r.x() + r.width();
}

int endY(const QRect& r)
{
    return r.y() + r.height();
}

} // namespace

PopoverPlacement::Edge PopoverPlacement::panelEdge(const QRect& anchor, const QRect& screen,
                                                   const QRect& available)
{
    // A panel that reserves its strip leaves the icon outside the available area.
    if (anchor.y() >= endY(available))
        return Edge::bottom;
    if (endY(anchor) <= available.y())
        return Edge::top;
    if (anchor.x() >= endX(available))
        return Edge::right;
    if (endX(anchor) <= available.x())
        return Edge::left;

    // Otherwise (a floating panel, or a host that gave only a point) the nearest edge wins;
    // horizontal panels first, as they are the common ones.
    const int centreX = anchor.x() + anchor.width() / 2;
    const int centreY = anchor.y() + anchor.height() / 2;
    const std::pair<int, Edge> distances[] = {
        {centreY - screen.y(), Edge::top},
        {endY(screen) - centreY, Edge::bottom},
        {centreX - screen.x(), Edge::left},
        {endX(screen) - centreX, Edge::right},
    };
    return std::min_element(std::begin(distances), std::end(distances),
                            [](const auto& a, const auto& b) { return a.first < b.first; })
        ->second;
}

QPoint PopoverPlacement::place(const QSize& size, const QRect& anchor, const QRect& screen,
                               const QRect& available)
{
    QPoint at;
    if (!anchor.isValid()) {
        at = QPoint(endX(available) - size.width() - gap, available.y() + gap);
    } else {
        const int centredX = anchor.x() + anchor.width() / 2 - size.width() / 2;
        const int centredY = anchor.y() + anchor.height() / 2 - size.height() / 2;
        switch (panelEdge(anchor, screen, available)) {
        case Edge::top:
            at = QPoint(centredX, endY(anchor) + gap);
            break;
        case Edge::bottom:
            at = QPoint(centredX, anchor.y() - gap - size.height());
            break;
        case Edge::left:
            at = QPoint(endX(anchor) + gap, centredY);
            break;
        case Edge::right:
            at = QPoint(anchor.x() - gap - size.width(), centredY);
            break;
        }
    }
    // Inside the available area, clear of its edges when there is room.
    QRect area = available.adjusted(gap, gap, -gap, -gap);
    if (area.width() < size.width() || area.height() < size.height())
        area = available;
    // A popover larger than the area keeps its top-left corner visible.
    at.setX(std::max(area.x(), std::min(at.x(), endX(area) - size.width())));
    at.setY(std::max(area.y(), std::min(at.y(), endY(area) - size.height())));
    return at;
}
