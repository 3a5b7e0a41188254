#include "popup/SlidePopupSettings.h"

#include <QGuiApplication>
#include <QPalette>

SlidePopupSettings SlidePopupSettings::newComponentDefaults()
{
    const QFont toolkitFont;
    const QColor windowText = QGuiApplication::palette().color(QPalette::WindowText);

    SlidePopupSettings s;
    s.text = QStringLiteral("text");
    s.url = QStringLiteral("https://www.example.com/");
    s.iconLeft = 8;
    s.iconTop = 8;
    s.timeOut = 10;
    s.width = 148;
    s.height = 121;
    s.gradientColor1 = QColor(153, 204, 255);
    s.gradientColor2 = QColor(Qt::white);
    s.gradientOrientation = mbVertical;
    s.scrollSpeed = 9;
    s.font = {toolkitFont, windowText};
    QFont underlined = toolkitFont;
    underlined.setUnderline(true);
    s.hoverFont = {underlined, QColor(Qt::blue)};
    s.title = QStringLiteral("title");
    QFont bold = toolkitFont;
    bold.setBold(true);
    s.titleFont = {bold, windowText};
    s.options = {spAutoOpenURL, spCascadePopups, spAllowScroll, spAllowHyperlink};
    s.textAlignment = taCenter;
    s.backgroundDrawMethod = dmActualSize;
    s.textCursor = Qt::ArrowCursor;
    s.popupMarge = 2;
    s.popupStartX = 16;
    s.popupStartY = 2;
    s.defaultMonitor = dmDesktop;
    return s;
}
