#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the popover goes beside the tray icon it belongs to: below an icon in a top panel,
// above one in a bottom panel, to the side of one in a left or right panel, and always
// inside the screen's available area.
class PopoverPlacement {
public:
    enum class Edge { top, bottom, left, right };

    // Gap between the icon and the popover, and between the popover and the screen's edges.
    static constexpr int gap = 8;

    // `anchor` is the icon's geometry, or a 1x1 rectangle at the point a host reported; an
    // invalid one puts the popover in the top-right corner of `available`.
    static QPoint place(const QSize& size, const QRect& anchor, const QRect& screen,
                        const QRect& available);
    // The screen edge whose panel holds the icon: the side of the available area the icon
    // lies outside of, else the screen edge nearest to it.
    static Edge panelEdge(const QRect& anchor, const QRect& screen, const QRect& available);
};
