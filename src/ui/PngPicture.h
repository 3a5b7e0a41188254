#pragma once

#include <QPixmap>
#include <QString>

// A PNG picture from the resources, read by Qt's own PNG reader only. Left to guess, Qt asks every
// image-format plugin about each file, which loads them all (gif, ico, jpeg and its library) into
// the process at start-up for pictures that are all PNG.
QPixmap pngPicture(const QString &resource);
