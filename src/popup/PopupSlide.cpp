#include "popup/PopupSlide.h"

namespace popup {

QRect collapsedFrame(int edge, const QRect &frame)
{
    QRect collapsed = frame;
    switch (placementEdge(edge)) {
    case EdgeLeft:
        collapsed.setWidth(1);
        break;
    case EdgeTop:
        collapsed.setHeight(1);
        break;
    case EdgeRight:
        collapsed.moveLeft(frame.x() + frame.width());
        collapsed.setWidth(1);
        break;
    default:
        collapsed.moveTop(frame.y() + frame.height());
        collapsed.setHeight(1);
        break;
    }
    return collapsed;
}

SlideStep slideInStep(int edge, const QRect &frame, const SlideInTarget &target)
{
    const int s = target.speed;
    const QSize full = target.fullSize;
    const StackPlacement &p = target.placement;
    QRect next = frame;
    switch (placementEdge(edge)) {
    case EdgeLeft:
        if (frame.width() + s < full.width()) {
            next.setWidth(frame.width() + s);
            return {next, false};
        }
        next.setWidth(full.width());
        return {next, true};
    case EdgeTop:
        if (frame.height() + s < full.height()) {
            next.setHeight(frame.height() + s);
            return {next, false};
        }
        next.setHeight(full.height());
        return {next, true};
    case EdgeRight:
        if (frame.width() + s < full.width()) {
            next.setRect(frame.x() - s, frame.y(), frame.width() + s, frame.height());
            return {next, false};
        }
        next.setRect(p.workArea.right - p.startX - full.width(), frame.y(), full.width(),
                     frame.height());
        return {next, true};
    default:
        if (frame.height() + s < full.height()) {
            next.setRect(frame.x(), frame.y() - s, frame.width(), frame.height() + s);
            return {next, false};
        }
        next.setRect(frame.x(), p.workArea.bottom - p.startY - full.height() - p.offset,
                     frame.width(), full.height());
        return {next, true};
    }
}

SlideStep slideOutStep(int edge, const QRect &frame, int speed)
{
    const int s = speed;
    QRect next = frame;
    switch (placementEdge(edge)) {
    case EdgeLeft:
        if (frame.width() - s <= 0)
            return {frame, true};
        next.setWidth(frame.width() - s);
        break;
    case EdgeTop:
        if (frame.height() - s <= 0)
            return {frame, true};
        next.setHeight(frame.height() - s);
        break;
    case EdgeRight:
        if (frame.width() - s <= 0)
            return {frame, true};
        next.setRect(frame.x() + s, frame.y(), frame.width() - s, frame.height());
        break;
    default:
        if (frame.height() - s <= 0)
            return {frame, true};
        next.setRect(frame.x(), frame.y() + s, frame.width(), frame.height() - s);
        break;
    }
    return {next, false};
}

} // namespace popup
