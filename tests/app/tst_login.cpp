// The login window: refusals, the login row, the login stamp, the remembered-login file and the
// close confirmation, against the reference server.
#include "GuiTestMain.h"
#include "RawHttpPeer.h"
#include "ReadOnlyDatabase.h"
#include "ServiceTarget.h"
#include "TestServer.h"
#include "UrlCatcher.h"

#include "app/LoginRecord.h"
#include "app/RememberedLogin.h"
#include "app/UnitGlouble.h"
#include "service/WebService.h"
#include "startup/LoginBackground.h"
#include "startup/UnitLogin.h"
#include "ui/ExternalBrowser.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <sys/stat.h>

namespace {
QByteArray gbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder(text);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile::remove(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    std::unique_ptr<TFrmLogin> window;
    QString chineseId;

    QLineEdit *edit(const char *name)
    {
        return window->findChild<QLineEdit *>(QLatin1String(name));
    }
    QCheckBox *rememberBox() { return window->findChild<QCheckBox *>(QStringLiteral("CheckBox1")); }

    void openWindow()
    {
        window = std::make_unique<TFrmLogin>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void typeCredentials(const QString &name, const QString &password, bool remember)
    {
        edit("Edit1")->setText(name);
        edit("Edit2")->setText(password);
        rememberBox()->setChecked(remember);
    }

    // The userdl rows of a user, read straight from the server's database.
    QList<QStringList> loginRows(const QString &id)
    {
        return textRows(queryServerDatabase(
            server->databasePath(),
            QStringLiteral("select userzh, userpas, userdlip from userdl where userid = ?"),
            {id.toInt()}));
    }

    QStringList shownTexts()
    {
        QStringList texts;
        for (const auto &box : MessageBoxRecorder::shown())
            texts << box.text;
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        server = std::make_unique<TestServer>();
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        chineseId = server->command(QStringLiteral("add-user"),
                                    {QStringLiteral("--name"), QStringLiteral("李 四"),
                                     QStringLiteral("--password"), QStringLiteral("li'si"),
                                     QStringLiteral("--level"), QStringLiteral("2")});
        QVERIFY(server->lastCommandOk());
    }

    void init()
    {
        resetClientGlobals();
        pointClientAt(server->baseUrl());
        MessageBoxRecorder::start();
        RememberedLogin::forget();
        openWindow();
        MessageBoxRecorder::clear();
    }

    void cleanup()
    {
        window.reset();
        MessageBoxRecorder::stop();
    }

    void emptyOrBlankFieldsAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::newRow("both empty") << QString() << QString();
        QTest::newRow("blank name") << QStringLiteral("   ") << QStringLiteral("x");
        QTest::newRow("blank password") << QStringLiteral("李 四") << QStringLiteral(" \t ");
    }

    // The window's face is drawn at the screen's density, so its text stays sharp there.
    void faceIsDrawnAtTheScreensDensity()
    {
        for (const qreal density : {1.0, 1.5, 2.0}) {
            const QPixmap face = paintLoginBackground(QStringLiteral("甲"), density);
            QCOMPARE(face.devicePixelRatio(), density);
            QCOMPARE(face.size(), (QSizeF(500, 330) * density).toSize());
            QCOMPARE(face.deviceIndependentSize(), QSizeF(500, 330));
        }
        openWindow();
        const QPixmap shown = window->findChild<QLabel *>(QStringLiteral("Image1"))->pixmap();
        QCOMPARE(shown.devicePixelRatio(), window->devicePixelRatioF());
    }

    void emptyOrBlankFieldsAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        typeCredentials(name, password, false);
        window->Button1Click();
        QCOMPARE(shownTexts(), QStringList {QStringLiteral("请输入用户名或密码！")});
        QCOMPARE(MessageBoxRecorder::shown().first().caption, QStringLiteral("登录错误！"));
        QVERIFY(window->isVisible());
    }

    void wrongPasswordIsRefusedAndFileUntouched()
    {
        const QByteArray before = gbk(QStringLiteral("旧用户\r\n\\\r\n旧密码\r\n"));
        writeFile(RememberedLogin::filePath(), before);
        typeCredentials(QStringLiteral("李 四"), QStringLiteral("wrong"), false);
        window->Button1Click();
        QCOMPARE(shownTexts(), QStringList {QStringLiteral("用户名不存在或密码错误！")});
        QVERIFY(window->isVisible());
        QVERIFY(userid.isEmpty());
        QCOMPARE(readFile(RememberedLogin::filePath()), before);
        QVERIFY(loginRows(chineseId).isEmpty());
    }

    void loginInsertsThenUpdatesOneRow()
    {
        typeCredentials(QStringLiteral("  李 四  "), QStringLiteral(" li'si "), false);
        window->Button1Click();
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(userid, chineseId);
        QCOMPARE(username, QStringLiteral("李 四"));
        QCOMPARE(userpas, QStringLiteral("li'si"));
        QCOMPARE(UserDJ, QStringLiteral("2"));
        QCOMPARE(usernameUrl, QStringLiteral("%E6%9D%8E+%E5%9B%9B"));
        QCOMPARE(userpasUrl, QStringLiteral("li'si"));
        QVERIFY(!loginStamp.isEmpty());
        QCOMPARE(loginStamp, NewServiceProxy()->hqdlsj(userid));
        auto rows = loginRows(chineseId);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0], QStringLiteral("李 四"));
        QCOMPARE(rows[0][1], QStringLiteral("li'si"));
        QCOMPARE(rows[0][2], QStringLiteral("127.0.0.1")); // what qzIP.aspx saw
        const QString firstStamp = loginStamp;

        // A second login while the row exists rewrites it: still one row, a new stamp.
        openWindow();
        typeCredentials(QStringLiteral("李 四"), QStringLiteral("li'si"), false);
        window->Button1Click();
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(loginRows(chineseId).size(), 1);
        QVERIFY(loginStamp != firstStamp);
    }

    void rememberedFileIsWrittenOwnerOnlyInGbk()
    {
        typeCredentials(QStringLiteral(" 李 四 "), QStringLiteral("li'si  "), true);
        window->Button1Click();
        QCOMPARE(window->result(), int(QDialog::Accepted));
        const QString path = RememberedLogin::filePath();
        // No keyring answers here, so the password goes into the file.
        QTRY_COMPARE(readFile(path), gbk(QStringLiteral("李 四\r\n\\\r\nli'si\r\n")));
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));

        // The next window fills the fields from it.
        openWindow();
        QCOMPARE(edit("Edit1")->text(), QStringLiteral("李 四"));
        QCOMPARE(edit("Edit2")->text(), QStringLiteral("li'si"));
        QVERIFY(rememberBox()->isChecked());
    }

    void credentialsGbkCannotCarryStillLogIn()
    {
        server->command(QStringLiteral("add-user"),
                        {"--name", "股民😀", "--password", "pw😀", "--level", "0"});
        const QString path = RememberedLogin::filePath();
        writeFile(path, gbk(QStringLiteral("别人\r\n\\\r\n别的\r\n")));
        typeCredentials(QStringLiteral("股民😀"), QStringLiteral("pw😀"), true);
        window->Button1Click();
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(username, QStringLiteral("股民😀"));
        QVERIFY(!QFile::exists(path)); // no stale credentials either
        const auto shown = MessageBoxRecorder::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("用户名或密码含有无法保存的字符，未能记住登录信息"));
        QCOMPARE(shown[0].icon, BoxIcon::Warning);
    }

    void readOnlyFileIsRewritten()
    {
        const QString path = RememberedLogin::filePath();
        writeFile(path, gbk(QStringLiteral("别人\r\n\\\r\n别的\r\n")));
        QFile::setPermissions(path, QFile::ReadOwner);
        typeCredentials(QStringLiteral("李 四"), QStringLiteral("li'si"), true);
        window->Button1Click();
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QTRY_COMPARE(readFile(path), gbk(QStringLiteral("李 四\r\n\\\r\nli'si\r\n")));
    }

    void untickedBoxDeletesTheFile()
    {
        const QString path = RememberedLogin::filePath();
        writeFile(path, gbk(QStringLiteral("李 四\r\n\\\r\nli'si\r\n")));
        QFile::setPermissions(path, QFile::ReadOwner);
        openWindow();
        QVERIFY(rememberBox()->isChecked());
        rememberBox()->setChecked(false);
        window->Button1Click();
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QVERIFY(!QFile::exists(path));
    }

    // A file that is short, empty or not GBK is ignored; so is anything but a regular file, read
    // at once: whatever sits at the file's place, the window comes up without waiting.
    void brokenRememberedFilesAreIgnored_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray valid = gbk(QStringLiteral("李 四\r\n\\\r\nli'si\r\n"));
        QTest::newRow("two lines") << "file" << gbk(QStringLiteral("李 四\r\n\\"));
        QTest::newRow("empty") << "file" << QByteArray();
        QTest::newRow("not gbk") << "file" << QByteArray("\xff\xff\xff\r\n\\\r\n\x81\r\n");
        QTest::newRow("fifo") << "fifo" << QByteArray();
        QTest::newRow("link to an endless device") << "/dev/zero" << QByteArray();
        QTest::newRow("link to a valid file") << "link" << valid;
    }

    void brokenRememberedFilesAreIgnored()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        const QString path = RememberedLogin::filePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QTemporaryDir elsewhere;
        const QString linked = elsewhere.filePath(QStringLiteral("linked"));
        if (kind == u"file")
            writeFile(path, bytes);
        else if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == u"link")
            writeFile(linked, bytes);
        if (kind == u"link" || kind.startsWith(u'/'))
            QVERIFY(QFile::link(kind == u"link" ? linked : kind, path));
        openWindow();
        QCOMPARE(edit("Edit1")->text(), QString());
        QCOMPARE(edit("Edit2")->text(), QString());
        QVERIFY(!rememberBox()->isChecked());
    }

    // A link at the file's place is replaced by the new file when remembering and removed when
    // forgetting; its target, there or not, is never created, written or changed in mode.
    void linksAreReplacedNeverFollowed_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<bool>("remember");
        QTest::newRow("dangling link, remembered") << false << true;
        QTest::newRow("link to a file, remembered") << true << true;
        QTest::newRow("link to a file, forgotten") << true << false;
    }

    void linksAreReplacedNeverFollowed()
    {
        QFETCH(bool, targetExists);
        QFETCH(bool, remember);
        const QString path = RememberedLogin::filePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("target"));
        const QByteArray targetBytes("someone else's file\n");
        if (targetExists) {
            writeFile(target, targetBytes);
            QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0644), 0);
        }
        QVERIFY(QFile::link(target, path));
        typeCredentials(QStringLiteral("李 四"), QStringLiteral("li'si"), remember);
        window->Button1Click();
        QCOMPARE(window->result(), int(QDialog::Accepted));

        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(QFileInfo::exists(path), remember);
        if (remember)
            QTRY_COMPARE(readFile(path), gbk(QStringLiteral("李 四\r\n\\\r\nli'si\r\n")));
        QCOMPARE(QFileInfo::exists(target), targetExists);
        if (targetExists) {
            QCOMPARE(readFile(target), targetBytes);
            struct stat info
            {
            };
            QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, mode_t(0644));
        }
    }

    void unreadableAccountRecordClosesWithCancel()
    {
        // The credential check passes, but the account record comes back unreadable.
        RawHttpPeer peer({RawHttpPeer::soapAnswer("yanzheng", "True"),
                          RawHttpPeer::soapAnswer("hqdlyhxx", "not a document")});
        pointClientAt(peer.baseUrl());
        typeCredentials(QStringLiteral("a"), QStringLiteral("b"), true);
        window->Button1Click();
        QCOMPARE(shownTexts(), QStringList {QStringLiteral("系统错误，没有获取到系统配置信息！")});
        QCOMPARE(MessageBoxRecorder::shown().first().caption, QStringLiteral("系统错误！"));
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(RememberedLogin::filePath()));
    }

    void failingCredentialCheckReachesTheGeneralReport()
    {
        server->stop();
        typeCredentials(QStringLiteral("李 四"), QStringLiteral("li'si"), false);
        window->Button1Click();
        const auto shown = MessageBoxRecorder::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("无法连接服务器")));
        QCOMPARE(shown[0].icon, BoxIcon::Error);
        QVERIFY(window->isVisible());
        server->start();
        QVERIFY(server->isRunning());
    }

    void publicAddressPage_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<QString>("expected");
        QTest::newRow("200") << RawHttpPeer::httpResponse(200, "text/plain", "203.0.113.9")
                             << QStringLiteral("203.0.113.9");
        QTest::newRow("404") << RawHttpPeer::httpResponse(404, "text/html", "gone") << QString();
        QTest::newRow("500") << RawHttpPeer::httpResponse(500, "text/html", "boom") << QString();
    }

    void publicAddressPage()
    {
        QFETCH(QByteArray, response);
        QFETCH(QString, expected);
        RawHttpPeer peer(RawHttpPeer::Mode::Answer, response);
        pointClientAt(peer.baseUrl());
        QCOMPARE(LoginRecord::GetPublicIPAddress(), expected);
        QVERIFY(peer.requests().constFirst().startsWith("GET /qzIP.aspx "));
    }

    void publicAddressUnreachable()
    {
        server->stop();
        pointClientAt(server->baseUrl());
        QCOMPARE(LoginRecord::GetPublicIPAddress(), QStringLiteral("0.0.0.0"));
        server->start();
        QVERIFY(server->isRunning());
    }

    void keyboardWalksTheVisibleFaceOnly()
    {
        // Tab never lands on the controls below the face (Button1-3, Memo1).
        const QStringList expected = {"Edit2",       "CheckBox1",   "SpeedButton1", "Label1",
                                      "RzURLLabel2", "RzURLLabel1", "SpeedButton5", "Edit1"};
        edit("Edit1")->setFocus();
        for (const QString &name : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
    }

    void enterMovesToThePasswordThenLogsIn()
    {
        typeCredentials(QStringLiteral("李 四"), QStringLiteral("li'si"), false);
        edit("Edit1")->setFocus();
        QTest::keyClick(edit("Edit1"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), edit("Edit2"));
        QVERIFY(window->isVisible());
        QTest::keyClick(edit("Edit2"), Qt::Key_Return);
        QCOMPARE(window->result(), int(QDialog::Accepted));
    }

    void enterOnAHotSpotPressesIt()
    {
        MessageBoxRecorder::queueAnswer(BoxAnswer::Cancel);
        auto *close = window->findChild<QToolButton *>(QStringLiteral("SpeedButton5"));
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Return);
        QCOMPARE(MessageBoxRecorder::shown().size(), 1);
        QCOMPARE(MessageBoxRecorder::shown().first().text, QStringLiteral("是否关闭本系统？"));
    }

    void passwordShowsAStarPerCharacter()
    {
        QLineEdit *password = edit("Edit2");
        password->setText(QStringLiteral("abc"));
        QLineEdit stars(window.get());
        stars.setGeometry(password->geometry());
        stars.setFrame(false);
        stars.setText(QStringLiteral("***"));
        window->setFocus();
        QCOMPARE(password->grab().toImage(), stars.grab().toImage());
    }

    void linksAndTheRememberLabel()
    {
        UrlCatcher catcher;
        for (const char *scheme : {"http", "https", "tencent"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &catcher, "open");
        setBrowserProbe([] { return true; });

        auto click = [this](const char *name) {
            auto *label = window->findChild<QLabel *>(QLatin1String(name));
            QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        };
        hqurl = QStringLiteral("   ");
        click("RzURLLabel2");
        QVERIFY(catcher.opened.isEmpty()); // a home page of blanks opens nothing
        hqurl = QStringLiteral(" http://tips.example.com/index.html ");
        click("RzURLLabel2");
        click("RzURLLabel1");
        QCOMPARE(catcher.opened.size(), 2);
        QCOMPARE(catcher.opened[0], QUrl(QStringLiteral("http://tips.example.com/index.html")));
        QCOMPARE(catcher.opened[1].toString(),
                 QStringLiteral("tencent://message/?uin=") + kfqq
                     + QStringLiteral("&Site=&Menu=yes"));

        QVERIFY(!rememberBox()->isChecked());
        click("Label2");
        QVERIFY(rememberBox()->isChecked());
        click("Label2");
        QVERIFY(!rememberBox()->isChecked());
        for (const char *scheme : {"http", "https", "tencent"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        setBrowserProbe(nullptr);
    }

    void closeConfirmation()
    {
        MessageBoxRecorder::queueAnswer(BoxAnswer::Cancel);
        window->Button2Click();
        QVERIFY(window->isVisible());
        QCOMPARE(MessageBoxRecorder::shown().first().text, QStringLiteral("是否关闭本系统？"));
        QCOMPARE(MessageBoxRecorder::shown().first().buttons, BoxButtons::OkCancel);
        QCOMPARE(MessageBoxRecorder::shown().first().icon, BoxIcon::Information);

        MessageBoxRecorder::queueAnswer(BoxAnswer::Ok);
        window->Button2Click();
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
    }
};

TIPDESK_GUI_TEST_MAIN(TestLogin)
#include "tst_login.moc"
