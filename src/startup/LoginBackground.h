#pragma once

#include <QPixmap>
#include <QString>

// The login window's face (500 x 330 points): it draws the field labels, the log-in, register and
// close hot spots and the link area, so the transparent controls laid over it line up with what it
// shows. Painted at `ratio` device pixels per point, so it is as sharp as the screen it is shown on.
QPixmap paintLoginBackground(const QString &systemName, qreal ratio);
