#pragma once

#include <QRect>

namespace popup {

// Which side of the primary screen the taskbar occupies. The values are the ones the popup
// component stores in LastEdge and Edge, so they stay plain integers.
enum TaskbarSide : int {
    EdgeUnknown = -1,
    EdgeLeft = 0,
    EdgeTop = 1,
    EdgeRight = 2,
    EdgeBottom = 3,
};

// A work area with an exclusive right and bottom, the way the placement rules count: a work
// area that ends at y = 1040 has bottom 1040 (QRect::bottom() would say 1039).
struct WorkArea
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static WorkArea fromRect(const QRect &rect)
    {
        return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
    }
    bool operator==(const WorkArea &) const = default;
};

// What the desktop looks like to a popup: the primary screen and the part of it left free by
// the taskbar (and any other panel).
struct DesktopGeometry
{
    QRect screen;
    QRect workArea;
};

// The side whose strip the work area cuts off the screen. Nothing cut means a hidden or absent
// taskbar: bottom. Several sides cut (a top panel plus a dock): the widest strip wins, ties
// going to bottom, top, left, right in that order. EdgeUnknown when the geometry is unusable.
int TaskbarEdge(const DesktopGeometry &desktop);

// The edge the windows are placed and animated against: an unknown edge counts as a bottom
// taskbar, so a popup still appears where people expect it.
int placementEdge(int edge);

} // namespace popup
