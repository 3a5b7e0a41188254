#include "main/DesignPicture.h"

#include "ui/PngPicture.h"

QPixmap designPicture(const QString &resource, qreal ratio)
{
    // Chosen here rather than left to QIcon: Qt 6.4's icons take the plain picture for every ratio
    // below 2 when both exist, which blows it up at 1.5.
    if (ratio > 1 && resource.endsWith(QLatin1String(".png"))) {
        QPixmap finer = pngPicture(resource.chopped(4) + QStringLiteral("@2x.png"));
        if (!finer.isNull()) {
            finer.setDevicePixelRatio(2);
            return finer;
        }
    }
    return pngPicture(resource);
}
