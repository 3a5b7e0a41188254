#include "main/SlidePopUp1Design.h"

#include "main/DesignPicture.h"
#include "popup/SlidePopUp.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The design names "MS Sans Serif", which Linux desktops lack. WenQuanYi Micro Hei is a plain
// sans-serif UI face that also covers the Chinese the popups show; it is used at the same
// pixel size.
const char designFamily[] = "WenQuanYi Micro Hei";
constexpr int designPixelSize = 11;

QFont designFont()
{
    QFont font(QString::fromLatin1(designFamily));
    font.setPixelSize(designPixelSize);
    font.setStyleHint(QFont::SansSerif);
    // Full hinting keeps the small Chinese glyphs crisp instead of blurred.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

void applySlidePopUp1Design(TSlidePopUp &popup)
{
    popup.setTitle(QStringLiteral("提示"));
    popup.setIconLeft(8);
    popup.setIconTop(8);
    popup.setTimeOut(6);
    popup.setWidth(200);
    popup.setHeight(120);
    popup.setGradientColor1(QColor(Qt::red));
    popup.setGradientColor2(QColor(Qt::white));
    popup.setGradientOrientation(mbHorizontal);
    popup.setScrollSpeed(9);

    const QFont plain = designFont();
    QFont underlined = plain;
    underlined.setUnderline(true);
    QFont bold = plain;
    bold.setBold(true);
    popup.setFont({plain, QColor(Qt::red)});
    popup.setHoverFont({underlined, QColor(Qt::blue)});
    popup.setTitleFont({bold, QGuiApplication::palette().color(QPalette::WindowText)});

    popup.setOptions({spCascadePopups, spAllowScroll});
    popup.setTextAlignment(taCenter);
    popup.setBackgroundDrawMethod(dmFit);
    // For the densest screen: the picture is stretched over the window anyway, so a finer source
    // only ever makes it sharper.
    popup.setBackgroundImage(designPicture(QStringLiteral(":/popup/slidepopup1-background.png"),
                                           qApp->devicePixelRatio())
                                 .toImage());
    popup.setTextCursor(Qt::ArrowCursor);
    popup.setPopupMarge(2);
    popup.setPopupStartX(16);
    popup.setPopupStartY(2);
    popup.setDefaultMonitor(dmDesktop);
}
