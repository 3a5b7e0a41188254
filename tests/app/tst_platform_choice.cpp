// The platform the client starts on: X11 through Xwayland in a Wayland session, unless the person
// chose one; and the check that an X display answers.
#include "app/PlatformChoice.h"

#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString plasmaWayland =
    QStringLiteral("WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland DISPLAY=:1");

// "NAME=value NAME=value", an empty value written as "NAME=".
QProcessEnvironment environmentOf(const QString &variables)
{
    QProcessEnvironment environment(QProcessEnvironment::InheritFromParent);
    environment.clear();
    for (const QString &variable : variables.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = variable.indexOf(u'=');
        environment.insert(variable.left(equals), variable.mid(equals + 1));
    }
    return environment;
}
} // namespace

class TestPlatformChoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choice_data()
    {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("xAnswers");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QString>("displayAsked");
        QTest::addColumn<QString>("reasonHas");

        const QStringList plain {QStringLiteral("tipdesk")};
        const QByteArray x11 = "xcb;wayland";
        QTest::newRow("menu launch, Plasma Wayland")
            << plasmaWayland << plain << true << x11 << ":1"
            << "X display :1";
        QTest::newRow("session type alone")
            << "XDG_SESSION_TYPE=wayland DISPLAY=:0" << plain << true << x11 << ":0"
            << "X11";
        QTest::newRow("Wayland display alone")
            << "WAYLAND_DISPLAY=wl-gnome DISPLAY=:2" << plain << true << x11 << ":2"
            << "X11";
        QTest::newRow("X server gone") << plasmaWayland << plain << false << QByteArray() << ":1"
                                       << "does not answer";
        QTest::newRow("no Xwayland") << "WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland"
                                     << plain << true << QByteArray() << ""
                                     << "without DISPLAY";
        QTest::newRow("X11 session")
            << "XDG_SESSION_TYPE=x11 DISPLAY=:0" << plain << true << QByteArray() << ""
            << "not a Wayland session";
        QTest::newRow("empty Wayland display")
            << "WAYLAND_DISPLAY= DISPLAY=:0" << plain << true << QByteArray() << ""
            << "not a Wayland session";
        QTest::newRow("variable chooses")
            << plasmaWayland + " QT_QPA_PLATFORM=wayland" << plain << true << QByteArray() << ""
            << "QT_QPA_PLATFORM";
        QTest::newRow("empty variable chooses nothing")
            << plasmaWayland + " QT_QPA_PLATFORM=" << plain << true << x11 << ":1"
            << "X11";
        QTest::newRow("-platform")
            << plasmaWayland << QStringList {"tipdesk", "-platform", "wayland"} << true
            << QByteArray() << ""
            << "command line chose wayland";
        QTest::newRow("--platform after another argument")
            << plasmaWayland << QStringList {"tipdesk", "extra", "--platform", "wayland-egl"}
            << true << QByteArray() << ""
            << "command line chose wayland-egl";
        QTest::newRow("argument beats variable")
            << plasmaWayland + " QT_QPA_PLATFORM=xcb"
            << QStringList {"tipdesk", "-platform", "wayland"} << true << QByteArray() << ""
            << "command line";
        // Qt 6.4 ignores these forms, so they choose nothing.
        QTest::newRow("-platform=")
            << plasmaWayland << QStringList {"tipdesk", "-platform=wayland"} << true << x11 << ":1"
            << "X11";
        QTest::newRow("-platform without value")
            << plasmaWayland << QStringList {"tipdesk", "-platform"} << true << x11 << ":1"
            << "X11";
        QTest::newRow("program named -platform")
            << plasmaWayland << QStringList {"-platform", "wayland"} << true << x11 << ":1"
            << "X11";
    }

    void choice()
    {
        QFETCH(QString, environment);
        QFETCH(QStringList, arguments);
        QFETCH(bool, xAnswers);
        QFETCH(QByteArray, platform);
        QFETCH(QString, displayAsked);
        QFETCH(QString, reasonHas);

        QString asked;
        const PlatformChoice choice =
            choosePlatform(environmentOf(environment), arguments, [&](const QString &display) {
                asked = display;
                return xAnswers;
            });
        QCOMPARE(choice.platformToSet, platform);
        QCOMPARE(asked, displayAsked);
        QVERIFY2(choice.reason.contains(reasonHas), qPrintable(choice.reason));
    }

    void xServerReachable_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<bool>("reachable");

        QTest::newRow("listening") << ":7" << true;
        QTest::newRow("with screen") << ":7.0" << true;
        QTest::newRow("unix host") << "unix:7" << true;
        QTest::newRow("no socket") << ":8" << false;
        QTest::newRow("file left behind") << ":9" << false;
        QTest::newRow("remote display") << "localhost:7" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("not a number") << ":x" << false;
        QTest::newRow("number too long") << ":12345678901234567890" << false;
    }

    void xServerReachable()
    {
        QFETCH(QString, display);
        QFETCH(bool, reachable);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QLocalServer server;
        QVERIFY2(server.listen(folder.filePath(QStringLiteral("X7"))),
                 qPrintable(server.errorString()));
        QFile leftBehind(folder.filePath(QStringLiteral("X9")));
        QVERIFY(leftBehind.open(QIODevice::WriteOnly));

        QCOMPARE(::xServerReachable(display, folder.path()), reachable);
    }

    void overlongSocketFolderIsUnreachable()
    {
        QVERIFY(!::xServerReachable(QStringLiteral(":0"), QString(200, u'a')));
    }
};

QTEST_GUILESS_MAIN(TestPlatformChoice)
#include "tst_platform_choice.moc"
