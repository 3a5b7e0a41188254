#pragma once

#include <QPixmap>
#include <QString>

// The login window's face (500 x 330): it draws the field labels, the log-in, register and close
// hot spots and the link area, so the transparent controls laid over it line up with what it shows.
QPixmap paintLoginBackground(const QString &systemName);
