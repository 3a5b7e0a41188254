#pragma once

#include <QPixmap>
#include <QString>

// The login window's face (500 x 330): it draws the field labels, the log-in, register and close
// hot spots and the link area, so the transparent controls laid over it line up with what it shows.
// density: the screen's device pixel ratio; the picture is drawn at that many pixels per point,
// so that text and lines stay sharp on a high-density screen.
QPixmap paintLoginBackground(const QString &systemName, qreal density = 1);

// The same face, kept in the user's cache folder once painted: painting its texts costs every
// start a few milliseconds, reading the kept pixels far less. A kept face of the wrong size
// (damaged, cut short) is painted anew.
QPixmap loginBackground(const QString &systemName, qreal density = 1);
