#pragma once

#include <QPixmap>
#include <QString>

// A picture of the main window's design ("name.png") for a screen of `ratio` device pixels per
// point: above 1, its "name@2x.png" twin where the resources have one, marked as two pixels per
// point, so a denser screen gets the finer picture (scaled down a little at 1.5) instead of the
// plain one blown up.
QPixmap designPicture(const QString &resource, qreal ratio);
