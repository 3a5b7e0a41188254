// The main window's pictures and its popup at the screen's pixel ratio (run at 1, 1.5 and 2):
// drawn from pictures with as many pixels as the screen shows, not blown up from one-to-one ones,
// and the popup placed in points at the work area's corner.
#include "GuiTestMain.h"

#include "app/UnitGlouble.h"
#include "main/MainWindowDesign.h"
#include "main/SlidePopUp1Design.h"
#include "main/UnitMain.h"
#include "popup/FrmSlidePopUp.h"
#include "popup/PopupImage.h"
#include "popup/SlidePopUp.h"

#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <cmath>

namespace {

QSize inPixels(QSize points, qreal ratio)
{
    return QSize(int(std::lround(points.width() * ratio)),
                 int(std::lround(points.height() * ratio)));
}

} // namespace

class TestDesignPictures : public QObject
{
    Q_OBJECT

    qreal ratio = 1;

private Q_SLOTS:
    void initTestCase()
    {
        ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), ratio);
    }

    void headerAndFooterPictures_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QSize>("points");
        QTest::newRow("header") << QStringLiteral("Image1") << QStringLiteral(":/main/header")
                                << QSize(948, 90);
        QTest::newRow("footer strip")
            << QStringLiteral("Image3") << QStringLiteral(":/main/footer-strip") << QSize(948, 6);
        QTest::newRow("footer base")
            << QStringLiteral("Image2") << QStringLiteral(":/main/footer-base") << QSize(948, 6);
    }

    void headerAndFooterPictures()
    {
        QFETCH(QString, label);
        QFETCH(QString, resource);
        QFETCH(QSize, points);
        TFrmMain window(nullptr, [] { return false; });
        loadDesignPictures(&window); // as the first show does
        const QPixmap picture = window.findChild<QLabel *>(label)->pixmap();
        // Above ratio 1 the finer picture itself, pixel for pixel; the label scales it to the
        // screen.
        const qreal source = ratio > 1 ? 2 : 1;
        QCOMPARE(picture.devicePixelRatio(), source);
        QCOMPARE(picture.size(), inPixels(points, source));
        const QString file =
            resource + (ratio > 1 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
        QCOMPARE(picture.toImage().convertToFormat(QImage::Format_RGB32),
                 QImage(file).convertToFormat(QImage::Format_RGB32));
    }

    // As a tool button asks its icon for its picture: as many pixels as the screen shows.
    void toolbarIcons()
    {
        TFrmMain window(nullptr, [] { return false; });
        loadDesignPictures(&window);
        for (int position = 1; position <= toolbarEntryCount; ++position) {
            const QIcon icon = window.toolbarButton(position)->icon();
            const QPixmap shown = icon.pixmap(QSize(35, 35), ratio);
            QCOMPARE(shown.size(), inPixels(QSize(35, 35), ratio));
            QCOMPARE(shown.devicePixelRatio(), ratio);
            // At double density the designed 70 px picture itself, not the 35 px one blown up.
            QImage drawn =
                icon.pixmap(QSize(35, 35), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
            QImage designed = QImage(QStringLiteral(":/main/toolbar/%1@2x.png")
                                         .arg(position, 2, 10, QLatin1Char('0')))
                                  .convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(designed.size(), QSize(70, 70));
            drawn.setDevicePixelRatio(1); // compared pixel for pixel
            designed.setDevicePixelRatio(1);
            QCOMPARE(drawn, designed);
        }
    }

    void applicationIconCoversTheTray()
    {
        TFrmMain window(nullptr, [] { return false; });
        // Notification areas ask for up to 64 points; the one picture has 256 pixels.
        const QPixmap shown = window.windowIcon().pixmap(QSize(64, 64), ratio);
        QCOMPARE(shown.size(), inPixels(QSize(64, 64), ratio));
    }

    void popupBackground()
    {
        TSlidePopUp popup;
        applySlidePopUp1Design(popup);
        const qreal source = ratio > 1 ? 2 : 1;
        QCOMPARE(popup.backgroundImage().devicePixelRatio(), source);
        QCOMPARE(popup.backgroundImage().size(), inPixels(QSize(195, 97), source));
    }

    // Placement and stacking work in points, so the popups sit in the work area's corner and
    // stack upwards at every ratio; their face is painted at the screen's density.
    void popupsSitInTheWorkAreaCorner()
    {
        TSlidePopUp popup;
        applySlidePopUp1Design(popup);
        popup.setText(QStringLiteral("股票代码：600519"));
        QVERIFY(popup.Show());
        QVERIFY(popup.Show());
        const QList<TfrmSlidePopUp *> windows = popup.openWindows();
        QCOMPARE(windows.size(), 2);
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint corner(work.x() + work.width() - popup.popupStartX() - 200,
                            work.y() + work.height() - popup.popupStartY() - 120);
        QTRY_COMPARE(windows.at(0)->geometry(), QRect(corner, QSize(200, 120)));
        QTRY_COMPARE(windows.at(1)->geometry().size(), QSize(200, 120));
        QCOMPARE(windows.at(1)->x(), corner.x());
        QVERIFY(windows.at(1)->geometry().bottom() < windows.at(0)->y());
        QVERIFY(work.contains(windows.at(1)->geometry()));
        const auto *face = windows.at(0)->findChild<PopupImage *>(QStringLiteral("imgGradient"));
        QCOMPARE(face->picture().devicePixelRatio(), ratio);
        QCOMPARE(face->picture().size(), inPixels(face->size(), ratio));
        popup.CloseAll();
    }
};

TIPDESK_GUI_TEST_MAIN(TestDesignPictures)
#include "tst_design_pictures.moc"
