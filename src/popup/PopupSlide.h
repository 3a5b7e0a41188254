#pragma once

#include "popup/PopupPlacement.h"

#include <QRect>

namespace popup {

// One 25 ms animation step: the window's new frame, and whether this was the last step
// (slide-in: fully shown; slide-out: nothing left, the window closes).
struct SlideStep
{
    QRect frame;
    bool finished = false;
};

// What a sliding-in window grows towards. placement.offset is the stack offset the window was
// placed at; the work area is read afresh for every step.
struct SlideInTarget
{
    QSize fullSize;
    int speed = 1;
    StackPlacement placement;
};

// The window shrunk to one pixel against the taskbar, ready to slide in.
QRect collapsedFrame(int edge, const QRect &frame);

// Grows the window by `speed` pixels out of the taskbar; the last step snaps it to its full
// size and resting place.
SlideStep slideInStep(int edge, const QRect &frame, const SlideInTarget &target);

// Shrinks the window by `speed` pixels back into the taskbar; finished once a step would leave
// nothing of it (the frame is then returned unchanged).
SlideStep slideOutStep(int edge, const QRect &frame, int speed);

} // namespace popup
