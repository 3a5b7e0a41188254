// Message boxes as shown: a long text is shortened so that the box fits the screen, and kept whole
// in the box's details; every box is wide enough for its whole caption.
#include "GuiTestMain.h"

#include "startup/ClientLocale.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// What a shown box looked like.
struct ShownBox
{
    QRect geometry;
    QString text;
    QString detailedText;
    QString detailsButton;
};

// Shows a box through the client's helper, notes how it looks once it is up, and answers it.
ShownBox showAndLook(const QString &text, const QString &caption)
{
    ShownBox seen;
    QTimer look;
    look.setInterval(10);
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        look.stop();
        seen = {box->frameGeometry(), box->text(), box->detailedText(), {}};
        for (QAbstractButton *button : box->buttons()) {
            if (box->buttonRole(button) == QMessageBox::ActionRole)
                seen.detailsButton = button->text();
        }
        box->button(QMessageBox::Ok)->click();
    });
    look.start();
    showMessage(nullptr, text, caption, BoxIcon::Error);
    return seen;
}

} // namespace

class TestMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { applyClientLocale(); } // Qt's texts in Chinese, as the client has them

    void longTextsAreShortenedToFitTheScreen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one long line")
            << QStringLiteral("Server was unable to process request. ---> 数据库错误")
                   .repeated(4000);
        QTest::newRow("many lines") << QStringLiteral("第 N 行\n").repeated(30000);
    }

    void longTextsAreShortenedToFitTheScreen()
    {
        QFETCH(QString, text);
        const ShownBox box = showAndLook(text, QStringLiteral("系统错误！"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(
            box.geometry.height() <= screen.height() && box.geometry.width() <= screen.width(),
            qPrintable(
                QStringLiteral("%1 x %2").arg(box.geometry.width()).arg(box.geometry.height())));
        QVERIFY(box.text.size() < 1000);
        QVERIFY(box.text.endsWith(QStringLiteral("……")));
        QVERIFY(text.startsWith(box.text.chopped(2)));
        QCOMPARE(box.detailedText, text);
        QCOMPARE(box.detailsButton, QStringLiteral("显示详情...")); // Qt's own translation
    }

    void boxesShowTheirWholeCaption_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("password changed")
            << QStringLiteral("修改成功!") << QStringLiteral("提示！");
        QTest::newRow("long caption")
            << QStringLiteral("好") << QStringLiteral("股票预警系统与服务器的连接状态提示，请阅读");
    }

    void boxesShowTheirWholeCaption()
    {
        QFETCH(QString, text);
        QFETCH(QString, caption);
        const ShownBox box = showAndLook(text, caption);
        QCOMPARE(box.text, text);
        QVERIFY(box.detailedText.isEmpty());
        // The caption in a bold title font, beside the window icon and three buttons of at least
        // 24 px each, as a window manager draws the title bar.
        QFont titleFont = QApplication::font();
        titleFont.setBold(true);
        const int needed = QFontMetrics(titleFont).horizontalAdvance(caption) + 4 * 24;
        QVERIFY2(box.geometry.width() >= needed,
                 qPrintable(QStringLiteral("%1 < %2").arg(box.geometry.width()).arg(needed)));
    }
};

TIPDESK_GUI_TEST_MAIN(TestMessageBoxes)
#include "tst_message_boxes.moc"
