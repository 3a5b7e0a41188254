// The settings window and its two core units, against the reference server.
#include "GuiTestMain.h"
#include "RawHttpPeer.h"
#include "ReadOnlyDatabase.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "ClientSession.h"

#include "account/AlertSoundChoice.h"
#include "account/PasswordChange.h"
#include "account/SoundFile.h"
#include "account/UnitXTSZ.h"
#include "app/RememberedLogin.h"
#include "app/UnitGlouble.h"
#include "skin/Skin.h"
#include "startup/ClientLocale.h"
#include "ui/FileDialogs.h"
#include "ui/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {
const auto soundChanged = QStringLiteral("提示音修改成功!");
const auto soundFailed = QStringLiteral("提示音修改失败!");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An address where nothing listens: a port that was just free.
QString deadServerUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return QStringLiteral("http://127.0.0.1:%1/").arg(probe.serverPort());
}
} // namespace

class TestSettingsWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    std::unique_ptr<QTemporaryDir> folder; // programDir of one test
    std::unique_ptr<QWidget> mainWindow; // a skinned stand-in for the opener
    QPointer<TFormXTSZ> window;
    int soundsPlayed = 0;
    int usersMade = 0;

    // A fresh account with this password, logged in: each test changes its own user's password.
    void logInNewUser(const QString &password)
    {
        const QString name = QStringLiteral("用户%1").arg(++usersMade);
        server->command(QStringLiteral("add-user"),
                        {QStringLiteral("--name"), name, QStringLiteral("--password"), password,
                         QStringLiteral("--level"), QStringLiteral("1")});
        QVERIFY(server->lastCommandOk());
        ClientSession::logIn(*server, name, password);
        gpsysname = QStringLiteral("金股预警系统");
        kfqq = QStringLiteral("800012345");
    }

    QString storedPassword()
    {
        return ReadOnlyDatabase(server->databasePath())
            .value(QStringLiteral("select userpas from UserTable where id = ?"), {userid})
            .toString();
    }

    void openWindow()
    {
        window = new TFormXTSZ(mainWindow.get(), [this] { ++soundsPlayed; });
        window->show();
    }

    template<typename T = QWidget> T *control(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    // The message of one password attempt in the window (exactly one is expected).
    MessageBoxRecorder::Shown tryPassword(const QString &old, const QString &fresh,
                                          const QString &again)
    {
        control<QTabWidget>("RzPageControl1")->setCurrentIndex(0);
        control<QLineEdit>("Edit1")->setText(old);
        control<QLineEdit>("Edit2")->setText(fresh);
        control<QLineEdit>("Edit3")->setText(again);
        MessageBoxRecorder::clear();
        QTest::mouseClick(control("Button1"), Qt::LeftButton);
        const auto shown = MessageBoxRecorder::shown();
        if (shown.size() == 1)
            return shown[0];
        return {
            QStringLiteral("<%1 messages>").arg(shown.size()), {}, BoxIcon::None, BoxButtons::Ok};
    }

    // The messages of one sound change in the window, the dialog answered with this file.
    QStringList chooseSound(const QString &chosenFile)
    {
        control<QTabWidget>("RzPageControl1")->setCurrentIndex(1);
        FileDialogRecorder::queueAnswer(chosenFile);
        MessageBoxRecorder::clear();
        QTest::mouseClick(control("Button4"), Qt::LeftButton);
        QStringList texts;
        for (const auto &shown : MessageBoxRecorder::shown()) {
            const bool plainCaption = shown.caption == QStringLiteral("提示");
            texts.append(plainCaption ? shown.text : shown.text + " / caption " + shown.caption);
        }
        return texts;
    }

    QString wave(const QString &name, const QByteArray &bytes)
    {
        const QString path = alertSoundFolder() + name;
        return writeFile(path, bytes) ? path : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        applyClientLocale(); // as the program does; this test runs with LANG=C
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
    }

    void init()
    {
        resetClientGlobals();
        RememberedLogin::forget();
        folder = std::make_unique<QTemporaryDir>();
        programDir = folder->path() + u'/';
        QVERIFY(QDir().mkpath(alertSoundFolder()));
        QVERIFY(writeFile(alertSoundTarget(), "old sound"));
        mainWindow = std::make_unique<QWidget>();
        mainWindow->setObjectName(QStringLiteral("FrmMain"));
        applySkin(mainWindow.get());
        mainWindow->resize(900, 600);
        soundsPlayed = 0;
        MessageBoxRecorder::start();
        FileDialogRecorder::start();
        logInNewUser(QStringLiteral("old-pw"));
    }

    void cleanup()
    {
        delete window;
        mainWindow.reset();
        MessageBoxRecorder::stop();
        FileDialogRecorder::stop();
        pointClientAt(server->baseUrl());
    }

    // ---- The window's face.

    void opensOnTheAboutPage()
    {
        openWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("系统设置"));
        QCOMPARE(window->size(), QSize(558, 416));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        auto *pages = control<QTabWidget>("RzPageControl1");
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->tabText(0), QStringLiteral("修改密码"));
        QCOMPARE(pages->tabText(1), QStringLiteral("修改提示音"));
        QCOMPARE(pages->tabText(2), QStringLiteral("关于软件"));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet4"));
        QCOMPARE(control<QLabel>("Label8")->text(), gpsysname);
        QCOMPARE(control<QLabel>("Label5")->text(), kfqq);
        QCOMPARE(control<QLineEdit>("Edit1")->echoMode(), QLineEdit::Normal);
        QCOMPARE(control<QLineEdit>("Edit2")->echoMode(), QLineEdit::Password);
        QCOMPARE(control<QLineEdit>("Edit3")->echoMode(), QLineEdit::Password);
    }

    // The new password shows a "*" per character, as designed; the old one stays in clear.
    void newPasswordShowsStars()
    {
        openWindow();
        for (const char *name : {"Edit1", "Edit2", "Edit3"})
            QTest::keyClicks(control<QLineEdit>(name), QStringLiteral("pw1"));
        QCOMPARE(control<QLineEdit>("Edit1")->displayText(), QStringLiteral("pw1"));
        QCOMPARE(control<QLineEdit>("Edit2")->displayText(), QStringLiteral("***"));
        QCOMPARE(control<QLineEdit>("Edit3")->displayText(), QStringLiteral("***"));
    }

    // The skin styles the main window's own Label5 and Label8; the about page must keep its look.
    void aboutPageKeepsItsLookUnderTheSkin()
    {
        openWindow();
        auto *name = control<QLabel>("Label8");
        auto *support = control<QLabel>("Label5");
        auto *supportCaption = control<QLabel>("Label4");
        QCOMPARE(name->font().pixelSize(), 29);
        QVERIFY(name->font().bold());
        QCOMPARE(name->alignment(), Qt::AlignCenter);
        QCOMPARE(support->font().pixelSize(), 16);
        QVERIFY(support->font().bold());
        QCOMPARE(support->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(supportCaption->font().pixelSize(), 16);
        QCOMPARE(supportCaption->palette().color(QPalette::WindowText),
                 window->palette().color(QPalette::WindowText));
    }

    void controlsSitWhereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const char *page, QRect geometry, const char *text) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(page)
                                << geometry << QString::fromUtf8(text);
        };
        row("Label1", "TabSheet1", {153, 75, 73, 13}, "原始密码：");
        row("Label2", "TabSheet1", {152, 123, 73, 13}, "修改密码：");
        row("Label3", "TabSheet1", {152, 176, 73, 13}, "确认密码：");
        row("Edit1", "TabSheet1", {233, 70, 158, 21}, "");
        row("Edit2", "TabSheet1", {233, 117, 158, 21}, "");
        row("Edit3", "TabSheet1", {233, 169, 158, 21}, "");
        row("Button1", "TabSheet1", {145, 267, 91, 25}, "确认修改");
        row("Button2", "TabSheet1", {304, 267, 91, 25}, "关闭窗体");
        row("Button4", "TabSheet2", {129, 59, 136, 25}, "修改提示音");
        row("Button3", "TabSheet2", {320, 59, 91, 25}, "关闭窗体");
        row("Label4", "TabSheet4", {194, 164, 65, 21}, "客服QQ：");
        row("Label5", "TabSheet4", {271, 162, 110, 23}, "800012345");
        row("Button7", "TabSheet4", {224, 260, 105, 25}, "关闭窗体");
        // The three top lines span the page; width -1 stands for the page's width.
        row("Label9", "TabSheet4", {0, 0, -1, 13}, "");
        row("Label10", "TabSheet4", {0, 13, -1, 40}, "");
        row("Label8", "TabSheet4", {0, 53, -1, 40}, "金股预警系统");
        row("RzPageControl1", "FormXTSZ", {0, 0, 561, 441}, "");
    }

    void controlsSitWhereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, page);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        openWindow();
        QWidget *widget = window->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget()->objectName(), page);
        if (geometry.width() < 0)
            geometry.setWidth(widget->parentWidget()->width());
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->property("text").toString(), text);
    }

    void tabOrderPerPage_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("password") << QStringLiteral("TabSheet1")
                                  << QStringList {"Edit1", "Edit2", "Edit3", "Button1", "Button2"};
        QTest::newRow("sound") << QStringLiteral("TabSheet2")
                               << QStringList {"Button3", "Button4", "PreviewSound"};
        QTest::newRow("about") << QStringLiteral("TabSheet4") << QStringList {"Button7"};
    }

    void tabOrderPerPage()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, order);
        openWindow();
        QWidget *sheet = window->findChild<QWidget *>(page);
        QWidget *first = sheet->findChild<QWidget *>(order.first());
        QStringList chain;
        QWidget *at = first;
        do {
            if (sheet->isAncestorOf(at) && (at->focusPolicy() & Qt::TabFocus))
                chain.append(at->objectName());
            at = at->nextInFocusChain();
        } while (at != first);
        QCOMPARE(chain, order);
    }

    void everyCloseButtonCloses_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("button");
        QTest::newRow("password page") << 0 << QStringLiteral("Button2");
        QTest::newRow("sound page") << 1 << QStringLiteral("Button3");
        QTest::newRow("about page") << 2 << QStringLiteral("Button7");
    }

    void everyCloseButtonCloses()
    {
        QFETCH(int, page);
        QFETCH(QString, button);
        openWindow();
        control<QTabWidget>("RzPageControl1")->setCurrentIndex(page);
        QTest::mouseClick(window->findChild<QWidget *>(button), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
        QVERIFY(FileDialogRecorder::asked().isEmpty());
    }

    // ---- The password change without a window.

    void inputChecksSendNothing_data()
    {
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("again");
        QTest::addColumn<PasswordChangeOutcome>("outcome");
        QTest::newRow("confirmation differs")
            << QStringLiteral("old-pw") << QStringLiteral("new") << QStringLiteral("neW")
            << PasswordChangeOutcome::ConfirmationDiffers;
        QTest::newRow("differs before the old one is checked")
            << QStringLiteral("wrong") << QStringLiteral("a") << QStringLiteral("b")
            << PasswordChangeOutcome::ConfirmationDiffers;
        QTest::newRow("old password wrong")
            << QStringLiteral("old-PW") << QStringLiteral("new") << QStringLiteral("new")
            << PasswordChangeOutcome::OldPasswordWrong;
        QTest::newRow("new password empty") << QStringLiteral("old-pw") << QString() << QString()
                                            << PasswordChangeOutcome::NewPasswordEmpty;
        QTest::newRow("new password only blanks")
            << QStringLiteral("old-pw") << QStringLiteral("  \t") << QStringLiteral(" ")
            << PasswordChangeOutcome::NewPasswordEmpty;
        QTest::newRow("old password empty")
            << QString() << QStringLiteral("new") << QStringLiteral("new")
            << PasswordChangeOutcome::OldPasswordWrong;
    }

    void inputChecksSendNothing()
    {
        QFETCH(QString, old);
        QFETCH(QString, fresh);
        QFETCH(QString, again);
        QFETCH(PasswordChangeOutcome, outcome);
        RawHttpPeer peer(RawHttpPeer::Mode::Answer, RawHttpPeer::soapAnswer("zhixing", "true"));
        pointClientAt(peer.baseUrl());
        QCOMPARE(changeAccountPassword(old, fresh, again), outcome);
        QCOMPARE(peer.requests().size(), 0);
        QCOMPARE(userpas, QStringLiteral("old-pw"));
    }

    void changeReachesTheServerAndTheGlobals()
    {
        const QString loginName = username;
        // Blanks around every entry are not part of the passwords.
        QCOMPARE(changeAccountPassword(QStringLiteral(" old-pw\t"), QStringLiteral(" 新 密码 "),
                                       QStringLiteral("新 密码")),
                 PasswordChangeOutcome::Changed);
        QCOMPARE(storedPassword(), QStringLiteral("新 密码"));
        QCOMPARE(userpas, QStringLiteral("新 密码"));
        QCOMPARE(userpasUrl, QStringLiteral("%E6%96%B0+%E5%AF%86%E7%A0%81"));

        // The next change checks against the new password, and the server takes it.
        QCOMPARE(changeAccountPassword(QStringLiteral("old-pw"), QStringLiteral("x"),
                                       QStringLiteral("x")),
                 PasswordChangeOutcome::OldPasswordWrong);
        QCOMPARE(changeAccountPassword(QStringLiteral("新 密码"), QStringLiteral("third"),
                                       QStringLiteral("third")),
                 PasswordChangeOutcome::Changed);
        QCOMPARE(storedPassword(), QStringLiteral("third"));

        // And the account logs in with it.
        resetClientGlobals();
        ClientSession::logIn(*server, loginName, QStringLiteral("third"));
        QCOMPARE(userpas, QStringLiteral("third"));
    }

    void quotesAreStoredExactly()
    {
        const QString password = QStringLiteral("it's'') or ('1'='1 --");
        QCOMPARE(changeAccountPassword(QStringLiteral("old-pw"), password, password),
                 PasswordChangeOutcome::Changed);
        QCOMPARE(storedPassword(), password);
        QCOMPARE(userpas, password);
        // Nobody else's password moved.
        const auto others = ReadOnlyDatabase(server->databasePath())
                                .value(QStringLiteral("select count(*) from UserTable "
                                                      "where userpas = ? and id <> ?"),
                                       {password, userid});
        QCOMPARE(others.toInt(), 0);
    }

    void rememberedLoginFollowsTheChange()
    {
        RememberedLogin::save(username, QStringLiteral("old-pw"));
        QCOMPARE(changeAccountPassword(QStringLiteral("old-pw"), QStringLiteral("pw2"),
                                       QStringLiteral("pw2")),
                 PasswordChangeOutcome::Changed);
        const auto remembered = RememberedLogin::read();
        QVERIFY(remembered);
        QCOMPARE(remembered->name, username);
        QCOMPARE(remembered->password, QStringLiteral("pw2"));
    }

    void rememberedLoginOfSomeoneElseIsLeftAlone()
    {
        RememberedLogin::save(QStringLiteral("someone-else"), QStringLiteral("theirs"));
        QCOMPARE(changeAccountPassword(QStringLiteral("old-pw"), QStringLiteral("pw2"),
                                       QStringLiteral("pw2")),
                 PasswordChangeOutcome::Changed);
        QCOMPARE(RememberedLogin::read()->password, QStringLiteral("theirs"));
    }

    void noRememberedLoginIsCreated()
    {
        QCOMPARE(changeAccountPassword(QStringLiteral("old-pw"), QStringLiteral("pw2"),
                                       QStringLiteral("pw2")),
                 PasswordChangeOutcome::Changed);
        QVERIFY(!QFile::exists(RememberedLogin::filePath()));
    }

    void onlyTrueIsAChange_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<PasswordChangeOutcome>("outcome");
        QTest::newRow("false") << RawHttpPeer::soapAnswer("zhixing", "false")
                               << PasswordChangeOutcome::Refused;
        QTest::newRow("True") << RawHttpPeer::soapAnswer("zhixing", "True")
                              << PasswordChangeOutcome::Refused;
        QTest::newRow("empty") << RawHttpPeer::soapAnswer("zhixing", "")
                               << PasswordChangeOutcome::Refused;
        QTest::newRow("true with blanks")
            << RawHttpPeer::soapAnswer("zhixing", " true\r\n") << PasswordChangeOutcome::Changed;
        QTest::newRow("fault") << RawHttpPeer::httpResponse(500, "text/xml", "<x/>")
                               << PasswordChangeOutcome::CallFailed;
        QTest::newRow("garbage") << RawHttpPeer::httpResponse(200, "text/xml", "<<<")
                                 << PasswordChangeOutcome::CallFailed;
    }

    void onlyTrueIsAChange()
    {
        QFETCH(QByteArray, answer);
        QFETCH(PasswordChangeOutcome, outcome);
        RawHttpPeer peer(RawHttpPeer::Mode::Answer, answer);
        pointClientAt(peer.baseUrl());
        QCOMPARE(changeAccountPassword(QStringLiteral("old-pw"), QStringLiteral("pw'2"),
                                       QStringLiteral("pw'2")),
                 outcome);
        QCOMPARE(peer.requests().size(), 1);
        const QByteArray statement =
            "update UserTable set userpas= 'pw''2' where id=" + userid.toUtf8() + "</sql>";
        QVERIFY2(peer.requests()[0].contains(statement), peer.requests()[0].constData());
        QCOMPARE(userpas,
                 outcome == PasswordChangeOutcome::Changed ? QStringLiteral("pw'2")
                                                           : QStringLiteral("old-pw"));
    }

    void serverDownIsACallFailure()
    {
        pointClientAt(deadServerUrl());
        QCOMPARE(changeAccountPassword(QStringLiteral("old-pw"), QStringLiteral("pw2"),
                                       QStringLiteral("pw2")),
                 PasswordChangeOutcome::CallFailed);
        QCOMPARE(userpas, QStringLiteral("old-pw"));
        QCOMPARE(storedPassword(), QStringLiteral("old-pw"));
    }

    // ---- The password page's messages.

    void passwordPageMessages()
    {
        openWindow();
        auto shown =
            tryPassword(QStringLiteral("old-pw"), QStringLiteral("a"), QStringLiteral("b"));
        QCOMPARE(shown.text, QStringLiteral("修改密码输入不一致!"));
        QCOMPARE(shown.caption, QStringLiteral("错误！"));
        QCOMPARE(shown.icon, BoxIcon::Error);

        shown = tryPassword(QStringLiteral("old-pw"), QString(), QString());
        QCOMPARE(shown.text, QStringLiteral("新密码不能为空!"));
        QCOMPARE(shown.caption, QStringLiteral("错误！"));
        QCOMPARE(shown.icon, BoxIcon::Error);

        shown = tryPassword(QStringLiteral("nope"), QStringLiteral("a"), QStringLiteral("a"));
        QCOMPARE(shown.text, QStringLiteral("原始密码输入错误!"));
        QCOMPARE(shown.caption, QStringLiteral("错误！"));
        QCOMPARE(shown.icon, BoxIcon::Error);
        QVERIFY(window->isVisible());

        {
            RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                             RawHttpPeer::soapAnswer("zhixing", "false"));
            pointClientAt(peer.baseUrl());
            shown = tryPassword(QStringLiteral("old-pw"), QStringLiteral("a"), QStringLiteral("a"));
            QCOMPARE(shown.text, QStringLiteral("修改失败!"));
            QCOMPARE(shown.caption, QStringLiteral("错误！"));
            QCOMPARE(shown.icon, BoxIcon::None);
            QVERIFY(window->isVisible());
        }

        pointClientAt(deadServerUrl());
        shown = tryPassword(QStringLiteral("old-pw"), QStringLiteral("a"), QStringLiteral("a"));
        QCOMPARE(shown.text, QStringLiteral("修改失败，系统错误!"));
        QCOMPARE(shown.caption, QStringLiteral("错误！"));
        QCOMPARE(shown.icon, BoxIcon::None);
        QVERIFY(window->isVisible());

        pointClientAt(server->baseUrl());
        shown = tryPassword(QStringLiteral("old-pw"), QStringLiteral("a"), QStringLiteral("a"));
        QCOMPARE(shown.text, QStringLiteral("修改成功!"));
        QCOMPARE(shown.caption, QStringLiteral("提示！"));
        QCOMPARE(shown.icon, BoxIcon::None);
        QVERIFY(!window->isVisible());
        QCOMPARE(storedPassword(), QStringLiteral("a"));
    }

    void secondWindowChangesWithTheNewPassword()
    {
        openWindow();
        QCOMPARE(
            tryPassword(QStringLiteral("old-pw"), QStringLiteral("b1"), QStringLiteral("b1")).text,
            QStringLiteral("修改成功!"));
        delete window;
        openWindow();
        QCOMPARE(tryPassword(QStringLiteral("b1"), QStringLiteral("b2"), QStringLiteral("b2")).text,
                 QStringLiteral("修改成功!"));
        QCOMPARE(storedPassword(), QStringLiteral("b2"));
    }

    // ---- The sound change without a window.

    void soundReplacesTheTarget()
    {
        const QString chosen = wave(QStringLiteral("叮咚.wav"), "RIFF new sound");
        QCOMPARE(replaceAlertSound(chosen), SoundChangeOutcome::Replaced);
        QCOMPARE(fileBytes(alertSoundTarget()), QByteArray("RIFF new sound"));
        QCOMPARE(fileBytes(chosen), QByteArray("RIFF new sound")); // the choice stays
        QCOMPARE(QDir(programDir).entryList(QDir::Files),
                 (QStringList {"miduseing.name", "miduseing.wav"}));
        QCOMPARE(alertSoundName(), QStringLiteral("叮咚.wav"));
    }

    void readOnlyTargetIsReplaced()
    {
        const QString chosen = wave(QStringLiteral("bell.WAV"), "bell");
        QVERIFY(QFile::setPermissions(chosen, QFile::ReadOwner | QFile::ReadUser));
        QVERIFY(QFile::setPermissions(alertSoundTarget(), QFile::ReadOwner | QFile::ReadUser));
        QCOMPARE(replaceAlertSound(chosen), SoundChangeOutcome::Replaced);
        QCOMPARE(fileBytes(alertSoundTarget()), QByteArray("bell"));
        // Writable again, so the next change needs no help.
        QVERIFY(QFileInfo(alertSoundTarget()).permissions() & QFile::WriteOwner);
        QCOMPARE(replaceAlertSound(wave(QStringLiteral("b.wav"), "b")),
                 SoundChangeOutcome::Replaced);
        QCOMPARE(fileBytes(alertSoundTarget()), QByteArray("b"));
    }

    void soundFailures_data()
    {
        QTest::addColumn<QString>("why");
        QTest::newRow("target is a folder") << QStringLiteral("folder");
        QTest::newRow("chosen file is missing") << QStringLiteral("missing");
        QTest::newRow("chosen file is a folder") << QStringLiteral("chosen folder");
        QTest::newRow("program folder is gone") << QStringLiteral("gone");
        QTest::newRow("chosen file is a FIFO") << QStringLiteral("fifo");
    }

    void soundFailures()
    {
        QFETCH(QString, why);
        QString chosen = wave(QStringLiteral("a.wav"), "new");
        if (why == QLatin1String("folder")) {
            QVERIFY(QFile::remove(alertSoundTarget()));
            QVERIFY(QDir().mkdir(alertSoundTarget()));
        } else if (why == QLatin1String("missing")) {
            chosen = alertSoundFolder() + QStringLiteral("none.wav");
        } else if (why == QLatin1String("chosen folder")) {
            chosen = alertSoundFolder();
        } else if (why == QLatin1String("fifo")) {
            chosen = alertSoundFolder() + QStringLiteral("pipe.wav");
            QCOMPARE(mkfifo(QFile::encodeName(chosen).constData(), 0600), 0);
        } else {
            programDir = folder->path() + QStringLiteral("/gone/");
        }
        QCOMPARE(replaceAlertSound(chosen), SoundChangeOutcome::Failed);
        if (why == QLatin1String("folder"))
            QVERIFY(QFileInfo(alertSoundTarget()).isDir());
        else if (why != QLatin1String("gone"))
            QCOMPARE(fileBytes(alertSoundTarget()), QByteArray("old sound")); // still the old one
    }

    // ---- The sound page.

    void soundDialogStartsAmongTheSounds()
    {
        openWindow();
        QVERIFY(chooseSound(QString()).isEmpty()); // cancelled: no message
        QVERIFY(!window->isVisible());
        const auto asked = FileDialogRecorder::asked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].startFolder, programDir + QStringLiteral("Mid/"));
        QCOMPARE(asked[0].filter, QStringLiteral("Skin files (*.wav *.WAV)"));
        QCOMPARE(fileBytes(alertSoundTarget()), QByteArray("old sound"));
        QCOMPARE(soundsPlayed, 0);
    }

    void chosenSoundIsPlayedOnce()
    {
        openWindow();
        QCOMPARE(chooseSound(wave(QStringLiteral("新.wav"), "new")), QStringList {soundChanged});
        QVERIFY(!window->isVisible());
        QCOMPARE(fileBytes(alertSoundTarget()), QByteArray("new"));
        QCOMPARE(soundsPlayed, 1);
    }

    void oversizedSoundIsRefused()
    {
        const QString chosen =
            wave(QStringLiteral("长.wav"), QByteArrayLiteral("RIFF\x24\0\0\0WAVEfmt "));
        QVERIFY(QFile::resize(chosen, maxSoundBytes + 1)); // sparse: costs no disk
        openWindow();
        QCOMPARE(
            chooseSound(chosen),
            QStringList {QStringLiteral("提示音文件太大（不能超过 4 MB），请选择较短的声音文件!")});
        QVERIFY(!window->isVisible());
        QCOMPARE(fileBytes(alertSoundTarget()), QByteArray("old sound"));
        QCOMPARE(soundsPlayed, 0);
    }

    // The page names the sound in use and plays it on "试听".
    void soundPageNamesTheSoundInUse_data()
    {
        QTest::addColumn<QString>("inUse"); // "built-in", "chosen" or "by hand"
        QTest::addColumn<QString>("shown");
        QTest::newRow("the program's own") << "built-in"
                                           << "当前提示音：默认提示音（程序自带）";
        QTest::newRow("chosen in this window") << "chosen"
                                               << "当前提示音：钟声<b>2.wav";
        QTest::newRow("replaced by hand") << "by hand"
                                          << "当前提示音：miduseing.wav";
    }

    void soundPageNamesTheSoundInUse()
    {
        QFETCH(QString, inUse);
        QFETCH(QString, shown);
        if (inUse == u"built-in") {
            QVERIFY(QFile::remove(alertSoundTarget()));
            QVERIFY(QFile::copy(QStringLiteral(":/sounds/miduseing.wav"), alertSoundTarget()));
        } else if (inUse == u"chosen") {
            QCOMPARE(replaceAlertSound(wave(QStringLiteral("钟声<b>2.wav"), "RIFF")),
                     SoundChangeOutcome::Replaced);
        }
        openWindow();
        auto *name = control<QLabel>("SoundInUse");
        QCOMPARE(name->text(), shown);
        QCOMPARE(name->textFormat(), Qt::PlainText);
        QTest::mouseClick(control("PreviewSound"), Qt::LeftButton);
        QCOMPARE(soundsPlayed, 1);
        QVERIFY(window->isVisible());
    }

    // Qt's own texts read Chinese whatever the system's language (LANG=C here): the sound dialog
    // and the context menu of an entry field.
    void qtTextsAreChinese()
    {
        openWindow();
        QStringList menu;
        const std::unique_ptr<QMenu> contextMenu(
            control<QLineEdit>("Edit1")->createStandardContextMenu());
        for (const QAction *action : contextMenu->actions()) {
            if (!action->isSeparator())
                menu.append(action->text().section(u'\t', 0, 0));
        }
        QCOMPARE(menu,
                 (QStringList {"撤消(&U)", "重做(&R)", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除",
                               "全选"}));

        FileDialogRecorder::stop(); // the real dialog this time
        QStringList dialogTexts;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                for (auto label : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::Accept,
                                   QFileDialog::Reject})
                    dialogTexts.append(dialog->labelText(label));
                dialog->reject();
            }
        });
        answer.start(10);
        control<QTabWidget>("RzPageControl1")->setCurrentIndex(1);
        QTest::mouseClick(control("Button4"), Qt::LeftButton);
        QCOMPARE(dialogTexts, (QStringList {"查找范围：", "文件名称(&N)：", "打开(&O)", "取消"}));
    }

    void failedCopyIsReported()
    {
        QVERIFY(QFile::remove(alertSoundTarget()));
        QVERIFY(QDir().mkdir(alertSoundTarget()));
        openWindow();
        QCOMPARE(chooseSound(wave(QStringLiteral("a.wav"), "new")), QStringList {soundFailed});
        QVERIFY(!window->isVisible());
        QCOMPARE(soundsPlayed, 0);
    }
};

TIPDESK_GUI_TEST_MAIN(TestSettingsWindow)
#include "tst_settings_window.moc"
