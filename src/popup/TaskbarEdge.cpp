#include "popup/TaskbarEdge.h"

#include <array>
#include <utility>

namespace popup {

int TaskbarEdge(const DesktopGeometry &desktop)
{
    const QRect &screen = desktop.screen;
    const QRect &free = desktop.workArea;
    if (!screen.isValid() || !free.isValid() || !screen.contains(free))
        return EdgeUnknown;

    const WorkArea s = WorkArea::fromRect(screen);
    const WorkArea w = WorkArea::fromRect(free);
    // Listed in the order that wins a tie.
    const std::array<std::pair<int, int>, 4> cuts = {{
        {EdgeBottom, s.bottom - w.bottom},
        {EdgeTop, w.top - s.top},
        {EdgeLeft, w.left - s.left},
        {EdgeRight, s.right - w.right},
    }};
    int edge = EdgeBottom;
    int widest = 0;
    for (const auto &[side, cut] : cuts) {
        if (cut > widest) {
            widest = cut;
            edge = side;
        }
    }
    return edge;
}

int placementEdge(int edge)
{
    return edge == EdgeUnknown ? EdgeBottom : edge;
}

} // namespace popup
