#include "popup/PrimaryDesktop.h"

#include <QGuiApplication>
#include <QScreen>

namespace popup {

DesktopGeometry primaryDesktop()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry(), screen->availableGeometry()};
}

} // namespace popup
