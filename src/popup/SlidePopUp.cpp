#include "popup/SlidePopUp.h"

#include "popup/FrmSlidePopUp.h"
#include "popup/PopupPlacement.h"
#include "popup/PrimaryDesktop.h"

#include <QApplication>

TSlidePopUp::TSlidePopUp(QObject *owner)
    : QObject(owner), m_settings(SlidePopupSettings::newComponentDefaults()),
      m_desktopProbe(popup::primaryDesktop)
{
}

TSlidePopUp::~TSlidePopUp()
{
    // A window must never outlive the component it reads its events and counters from.
    for (const QPointer<TfrmSlidePopUp> &window : std::as_const(m_windows)) {
        if (window)
            window->abandon();
    }
}

bool TSlidePopUp::Show()
{
    const popup::DesktopGeometry desk = desktop();
    const int edge = popup::TaskbarEdge(desk);
    if (edge != m_lastEdge) {
        // The taskbar moved: a new stack starts.
        m_lastEdge = edge;
        m_openCount = 0;
    }
    if (m_openCount <= 0) {
        m_cascadeOffset = 0;
    } else {
        const popup::StackPlacement next {popup::WorkArea::fromRect(desk.workArea),
                                          m_settings.popupStartX, m_settings.popupStartY,
                                          m_cascadeOffset};
        if (!popup::nextPopupFits(m_lastEdge, m_settings.height, next))
            return false;
    }
    ++m_openCount;

    auto *window = new TfrmSlidePopUp(this, windowSettings());
    m_windows.append(window);
    window->Display();
    // The stack always grows vertically, whichever side the taskbar is on.
    if (m_settings.options.contains(spCascadePopups))
        m_cascadeOffset += m_settings.height + m_settings.popupMarge;
    else
        m_cascadeOffset = 0;
    return true;
}

void TSlidePopUp::CloseAll()
{
    // Closing one window can free others' entries (and a click handler may be running), so
    // walk a snapshot.
    const QList<QPointer<TfrmSlidePopUp>> windows = m_windows;
    for (const QPointer<TfrmSlidePopUp> &window : windows) {
        if (window)
            window->closeWindow();
    }
}

void TSlidePopUp::setTimeOut(int seconds)
{
    m_settings.timeOut = qMax(0, seconds);
}

void TSlidePopUp::setWidth(int width)
{
    m_settings.width = qMax(1, width);
}

void TSlidePopUp::setHeight(int height)
{
    m_settings.height = qMax(1, height);
}

void TSlidePopUp::setScrollSpeed(TScrollSpeed pixelsPerStep)
{
    m_settings.scrollSpeed = qBound(minimumScrollSpeed, pixelsPerStep, maximumScrollSpeed);
}

QFont TSlidePopUp::SystemMenuFont()
{
    return QApplication::font("QMenu");
}

void TSlidePopUp::setDesktopProbe(DesktopProbe probe)
{
    m_desktopProbe = probe ? std::move(probe) : DesktopProbe(popup::primaryDesktop);
}

popup::DesktopGeometry TSlidePopUp::desktop() const
{
    return m_desktopProbe();
}

int TSlidePopUp::TaskbarEdge() const
{
    return popup::TaskbarEdge(desktop());
}

QList<TfrmSlidePopUp *> TSlidePopUp::openWindows() const
{
    QList<TfrmSlidePopUp *> open;
    for (const QPointer<TfrmSlidePopUp> &window : m_windows) {
        if (window)
            open.append(window.data());
    }
    return open;
}

SlidePopupSettings TSlidePopUp::windowSettings() const
{
    SlidePopupSettings settings = m_settings;
    if (settings.options.contains(spSystemFont)) {
        const QString family = SystemMenuFont().family();
        for (PopupFont *f : {&settings.font, &settings.hoverFont, &settings.titleFont})
            f->font.setFamily(family);
    }
    return settings;
}

void TSlidePopUp::windowReleased(TfrmSlidePopUp *window)
{
    m_windows.removeAll(window);
    if (m_openCount > 0)
        --m_openCount;
}
