#include "skin/Skin.h"

#include <QFile>
#include <QWidget>

QString skinStyleSheet()
{
    static const QString sheet = [] {
        QFile file(QStringLiteral(":/skin/tipdesk.qss"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return sheet;
}

void applySkin(QWidget *window)
{
    window->setStyleSheet(skinStyleSheet());
}
