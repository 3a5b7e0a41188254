#pragma once

#include "popup/SlidePopupSettings.h"
#include "popup/TaskbarEdge.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class TfrmSlidePopUp;

// Shows small notification windows next to the taskbar. Each Show() opens one window that
// slides out of the taskbar's edge, stays TimeOut seconds, slides back and frees itself;
// windows opened while others are up stack away from the taskbar. A click on a window raises
// OnClick (or, in hyperlink mode, OnURLClick) and closes it. Nothing here blocks, and the
// windows never take the focus.
class TSlidePopUp final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSlidePopUp)

public:
    // Where the primary screen and its work area are read from; tests and unusual desktops
    // can supply their own.
    using DesktopProbe = std::function<popup::DesktopGeometry()>;

    explicit TSlidePopUp(QObject *owner = nullptr);
    ~TSlidePopUp() override;

    // Opens one more window. False when there is no room left for it (nothing is shown then).
    bool Show();
    // Closes every window this component has open.
    void CloseAll();

    const QString &text() const { return m_settings.text; }
    void setText(const QString &text) { m_settings.text = text; }
    const QString &url() const { return m_settings.url; }
    void setUrl(const QString &url) { m_settings.url = url; }
    const QImage &iconBitmap() const { return m_settings.iconBitmap; }
    void setIconBitmap(const QImage &icon) { m_settings.iconBitmap = icon; }
    int iconLeft() const { return m_settings.iconLeft; }
    void setIconLeft(int left) { m_settings.iconLeft = left; }
    int iconTop() const { return m_settings.iconTop; }
    void setIconTop(int top) { m_settings.iconTop = top; }
    int timeOut() const { return m_settings.timeOut; }
    void setTimeOut(int seconds);
    int width() const { return m_settings.width; }
    void setWidth(int width);
    int height() const { return m_settings.height; }
    void setHeight(int height);
    const QColor &gradientColor1() const { return m_settings.gradientColor1; }
    void setGradientColor1(const QColor &color) { m_settings.gradientColor1 = color; }
    const QColor &gradientColor2() const { return m_settings.gradientColor2; }
    void setGradientColor2(const QColor &color) { m_settings.gradientColor2 = color; }
    TOrientation gradientOrientation() const { return m_settings.gradientOrientation; }
    void setGradientOrientation(TOrientation o) { m_settings.gradientOrientation = o; }
    TScrollSpeed scrollSpeed() const { return m_settings.scrollSpeed; }
    void setScrollSpeed(TScrollSpeed pixelsPerStep);
    const PopupFont &font() const { return m_settings.font; }
    void setFont(const PopupFont &font) { m_settings.font = font; }
    const PopupFont &hoverFont() const { return m_settings.hoverFont; }
    void setHoverFont(const PopupFont &font) { m_settings.hoverFont = font; }
    const QString &title() const { return m_settings.title; }
    void setTitle(const QString &title) { m_settings.title = title; }
    const PopupFont &titleFont() const { return m_settings.titleFont; }
    void setTitleFont(const PopupFont &font) { m_settings.titleFont = font; }
    TSlidePopupOptions options() const { return m_settings.options; }
    void setOptions(TSlidePopupOptions options) { m_settings.options = options; }
    TAlignment textAlignment() const { return m_settings.textAlignment; }
    void setTextAlignment(TAlignment alignment) { m_settings.textAlignment = alignment; }
    TSlideImageDrawMethod backgroundDrawMethod() const { return m_settings.backgroundDrawMethod; }
    void setBackgroundDrawMethod(TSlideImageDrawMethod m) { m_settings.backgroundDrawMethod = m; }
    Qt::CursorShape textCursor() const { return m_settings.textCursor; }
    void setTextCursor(Qt::CursorShape cursor) { m_settings.textCursor = cursor; }
    int popupMarge() const { return m_settings.popupMarge; }
    void setPopupMarge(int gap) { m_settings.popupMarge = gap; }
    int popupStartX() const { return m_settings.popupStartX; }
    void setPopupStartX(int x) { m_settings.popupStartX = x; }
    int popupStartY() const { return m_settings.popupStartY; }
    void setPopupStartY(int y) { m_settings.popupStartY = y; }
    TDefaultMonitor defaultMonitor() const { return m_settings.defaultMonitor; }
    void setDefaultMonitor(TDefaultMonitor monitor) { m_settings.defaultMonitor = monitor; }
    const QImage &backgroundImage() const { return m_settings.backgroundImage; }
    void setBackgroundImage(const QImage &picture) { m_settings.backgroundImage = picture; }

    // The system menu font; with spSystemFont its family replaces that of the three fonts of
    // every window opened afterwards.
    static QFont SystemMenuFont();

    void setDesktopProbe(DesktopProbe probe);
    popup::DesktopGeometry desktop() const;
    int TaskbarEdge() const;

    // The current stack: windows opened and not yet freed, how far the next window moves away
    // from the taskbar, and the taskbar edge seen at the last Show().
    int openCount() const { return m_openCount; }
    int cascadeOffset() const { return m_cascadeOffset; }
    int lastEdge() const { return m_lastEdge; }
    QList<TfrmSlidePopUp *> openWindows() const;

Q_SIGNALS:
    // A click on a window. Sender is the window for a left click on the text, the component
    // for any other click.
    void OnClick(QObject *sender);
    // A left click on the text in hyperlink mode; Sender is the window.
    void OnURLClick(QObject *sender, const QString &url);

private:
    friend class TfrmSlidePopUp;
    SlidePopupSettings windowSettings() const;
    void windowReleased(TfrmSlidePopUp *window);

    SlidePopupSettings m_settings;
    DesktopProbe m_desktopProbe;
    int m_openCount = 0;
    int m_cascadeOffset = 0;
    int m_lastEdge = 0;
    QList<QPointer<TfrmSlidePopUp>> m_windows;
};
