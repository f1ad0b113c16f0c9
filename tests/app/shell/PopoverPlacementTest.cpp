#include <gtest/gtest.h>

#include "shell/PopoverPlacement.h"

namespace {

using Edge = PopoverPlacement::Edge;

const QRect kScreen(0, 0, 1280, 800);
const QSize kPopover(320, 440);

struct Row {
    const char* name;
    QRect anchor;
    QRect available;
    QPoint expected;
};

TEST(PopoverPlacement, OpensBesideTheIconInsideTheAvailableArea)
{
    const Row rows[] = {
        // A 24-pixel panel at the top reserves its strip: below the icon, centred on it.
        {"top panel", QRect(1000, 0, 24, 24), QRect(0, 24, 1280, 776), QPoint(852, 32)},
        // At the bottom: above the icon.
        {"bottom panel", QRect(1000, 776, 24, 24), QRect(0, 0, 1280, 776),
         QPoint(852, 776 - 8 - 440)},
        // On the left: to its right, centred on it vertically.
        {"left panel", QRect(0, 400, 48, 48), QRect(48, 0, 1232, 800), QPoint(48 + 8, 424 - 220)},
        // On the right: to its left.
        {"right panel", QRect(1232, 400, 48, 48), QRect(0, 0, 1232, 800),
         QPoint(1232 - 8 - 320, 424 - 220)},
        // An icon at the far right keeps the popover on screen.
        {"icon at the right edge", QRect(1270, 0, 10, 24), QRect(0, 24, 1280, 776),
         QPoint(1280 - 8 - 320, 32)},
        // A left panel's icon near the bottom: the popover rises to stay on screen.
        {"left panel, low icon", QRect(0, 770, 48, 30), QRect(48, 0, 1232, 800),
         QPoint(56, 800 - 8 - 440)},
        // A host that only says where the click was, on a panel that reserves nothing:
        // the nearest edge tells the panel's side.
        {"point near the bottom", QRect(600, 790, 1, 1), kScreen, QPoint(440, 790 - 8 - 440)},
        {"point near the top", QRect(600, 5, 1, 1), kScreen, QPoint(440, 14)},
        {"point near the right", QRect(1275, 400, 1, 1), kScreen, QPoint(1275 - 8 - 320, 180)},
        // Nothing known: the top-right corner.
        {"unknown place", QRect(), QRect(0, 24, 1280, 776), QPoint(1280 - 320 - 8, 32)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QPoint at = PopoverPlacement::place(kPopover, row.anchor, kScreen, row.available);
        EXPECT_EQ(at, row.expected) << at.x() << "," << at.y();
        EXPECT_TRUE(row.available.contains(QRect(at, kPopover)));
    }
}

TEST(PopoverPlacement, APopoverLargerThanTheAreaKeepsItsTopLeftCornerVisible)
{
    const QRect small(0, 0, 300, 400);
    EXPECT_EQ(PopoverPlacement::place(kPopover, QRect(280, 380, 10, 10), small, small),
              QPoint(0, 0));
}

TEST(PopoverPlacement, ThePanelsEdgeComesFromTheAvailableAreaThenFromTheNearestEdge)
{
    EXPECT_EQ(PopoverPlacement::panelEdge(QRect(10, 790, 5, 5), kScreen, QRect(0, 0, 1280, 780)),
              Edge::bottom);
    // Reserved strips win over distances: an icon in the corner of a left panel.
    EXPECT_EQ(PopoverPlacement::panelEdge(QRect(5, 2, 5, 5), kScreen, QRect(40, 0, 1240, 800)),
              Edge::left);
    EXPECT_EQ(PopoverPlacement::panelEdge(QRect(640, 400, 1, 1), kScreen, kScreen), Edge::top);
}

} // namespace
