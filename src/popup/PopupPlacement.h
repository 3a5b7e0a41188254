#pragma once

#include "popup/TaskbarEdge.h"

#include <QPoint>
#include <QSize>

namespace popup {

// Where a popup's window and its stack sit relative to the work area.
struct StackPlacement
{
    WorkArea workArea;
    int startX = 0; // distance from the work area's left or right side
    int startY = 0; // distance from the work area's top or bottom
    int offset = 0; // how far the window is moved away from the taskbar by the stack below it
};

// Top-left corner of a fully shown window of the given size. The stack always grows
// vertically: upwards for a bottom, left or right taskbar, downwards for a top one.
QPoint popupPosition(int edge, QSize size, const StackPlacement &placement);

// Whether one more window of the given height still fits at placement.offset. A bottom
// taskbar compares against y = 0 and a top one against the work area's bottom; for a left or
// right taskbar the window's top must stay inside the work area.
bool nextPopupFits(int edge, int height, const StackPlacement &placement);

} // namespace popup
