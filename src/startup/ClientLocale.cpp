#include "startup/ClientLocale.h"

#include <QLocale>

void applyClientLocale()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}
