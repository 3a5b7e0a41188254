// Program start-up: the connectivity gate and the order in which the long-lived objects appear.
#include "TestEnvironment.h"

#include "app/MessageBoxes.h"
#include "app/ProgramEntry.h"
#include "app/UnitGlouble.h"
#include "service/SoapTransport.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        resetClientGlobals();
        MessageBoxRecorder::start();
    }

    void cleanup() { MessageBoxRecorder::stop(); }

    void withoutConnectionNothingStarts()
    {
        bool checked = false;
        const int code = runProgramEntry([&] {
            checked = true;
            return false;
        });
        QVERIFY(checked);
        QCOMPARE(code, 1);
        const auto shown = MessageBoxRecorder::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("没有连接上网络请先连接网络再打开本软件，请关闭!"));
        QCOMPARE(shown[0].caption, QStringLiteral("提示"));
        QCOMPARE(shown[0].icon, BoxIcon::None);
        QCOMPARE(shown[0].buttons, BoxButtons::Ok);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);   // no window was ever created
        QCOMPARE(SoapTransport::requestsSent(), 0);
        QVERIFY(programDir.isEmpty());                        // nor the data module
    }

    void connectivityInEmptyNetworkNamespace()
    {
        const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/connectivity_probe");
        QProcess offline;
        offline.start(QStringLiteral("unshare"), {QStringLiteral("--net"), probe, QStringLiteral("http://192.0.2.10/")});
        if (!offline.waitForFinished(20000) || offline.exitCode() != 0)
            QSKIP("no permission to create a network namespace here");
        QCOMPARE(offline.readAllStandardOutput().trimmed(), QByteArray("offline"));

        // A server on loopback counts as reachable, even with no network at all.
        QProcess loopback;
        loopback.start(QStringLiteral("unshare"), {QStringLiteral("--net"), probe, QStringLiteral("http://127.0.0.1:8080/")});
        QVERIFY(loopback.waitForFinished(20000));
        QCOMPARE(loopback.readAllStandardOutput().trimmed(), QByteArray("connected"));
    }
};

int main(int argc, char *argv[])
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startup.moc"
