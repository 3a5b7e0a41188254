#pragma once

class QWidget;

// A popup is a tool window without a taskbar or pager entry. An X11 window manager learns that
// only from the window's _NET_WM_STATE, which Qt does not set for tool windows; this adds it to a
// native window not yet shown (Qt keeps the states it finds there when it maps the window). On
// other platforms it does nothing.
void keepOutOfTaskbar(QWidget *window);
