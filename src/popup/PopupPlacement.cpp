#include "popup/PopupPlacement.h"

namespace popup {

QPoint popupPosition(int edge, QSize size, const StackPlacement &placement)
{
    const WorkArea &w = placement.workArea;
    const int rightAligned = w.right - size.width() - placement.startX;
    const int upwards = w.bottom - placement.startY - size.height() - placement.offset;
    switch (placementEdge(edge)) {
    case EdgeLeft:
        return {w.left + placement.startX, upwards};
    case EdgeTop:
        return {rightAligned, w.top + placement.startY + placement.offset};
    default:
        return {rightAligned, upwards};
    }
}

bool nextPopupFits(int edge, int height, const StackPlacement &placement)
{
    const WorkArea &w = placement.workArea;
    const int extent = placement.offset + height + placement.startY;
    switch (placementEdge(edge)) {
    case EdgeTop:
        return extent <= w.bottom;
    case EdgeBottom:
        return w.bottom - extent >= 0;
    default:
        return w.bottom - extent >= w.top;
    }
}

} // namespace popup
