#include "popup/PopupText.h"

namespace popup {

int centeredPosition(int outer, int inner)
{
    const int twice = outer - inner; // twice the exact result
    const int floorHalf = twice >= 0 ? twice / 2 : -((-twice + 1) / 2);
    if (twice % 2 == 0)
        return floorHalf;
    // Exactly halfway between floorHalf and floorHalf + 1: pick the even one.
    return floorHalf % 2 == 0 ? floorHalf : floorHalf + 1;
}

QString withLineBreaks(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

} // namespace popup
