#pragma once

#include "popup/SlidePopupTypes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

// A font together with its colour, as a popup's text, hover and title fonts carry both.
struct PopupFont
{
    QFont font;
    QColor color;
    bool operator==(const PopupFont &) const = default;
};

// Everything a popup is configured with. The component holds one; every window takes a copy
// when it is made, so a later change of the component does not reach an open window.
struct SlidePopupSettings
{
    QString text;
    QString url;
    QImage iconBitmap;
    int iconLeft {};
    int iconTop {};
    int timeOut {}; // seconds fully shown
    int width {};
    int height {};
    QColor gradientColor1;
    QColor gradientColor2;
    TOrientation gradientOrientation {};
    TScrollSpeed scrollSpeed {};
    PopupFont font;
    PopupFont hoverFont;
    QString title;
    PopupFont titleFont;
    TSlidePopupOptions options;
    TAlignment textAlignment {};
    TSlideImageDrawMethod backgroundDrawMethod {};
    Qt::CursorShape textCursor {};
    int popupMarge {};
    int popupStartX {};
    int popupStartY {};
    TDefaultMonitor defaultMonitor {};
    QImage backgroundImage;

    // The values a newly made component starts with.
    static SlidePopupSettings newComponentDefaults();
};
