#pragma once

#include "ui/WindowDrag.h"

#include <QDialog>

class LinkLabel;
class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The login window: borderless, its face a picture with transparent controls laid over it. Its
// creation loads the system configuration; when that fails the window closes by itself with Cancel.
// A successful login fills the user globals, writes the login row and closes with OK.
class TFrmLogin final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrmLogin)

public:
    explicit TFrmLogin(QWidget *parent = nullptr);

    int exec() override;
    // The configuration could not be loaded: the window closed by itself, the program ends.
    bool configurationFailed() const { return m_terminationRequested; }
    void done(int result) override;

    void Button1Click(); // log in
    void Button2Click(); // close after confirmation
    void Button3Click(); // account application

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void FormCreate();
    void FormShow();
    bool loadConfiguration();
    void JLYHXX();
    void fillPasswordFromKeyring(const QString &name);
    void RzURLLabel1Click();
    void RzURLLabel2Click();
    bool Edit1KeyPress(const QKeyEvent &key);
    bool Edit2KeyPress(const QKeyEvent &key);
    void Label1Click();
    void Label2Click();
    void Image1MouseMove(QMouseEvent *event);
    void failConfiguration(const QString &message);

    QLabel *Image1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    LinkLabel *RzURLLabel1 = nullptr;
    LinkLabel *RzURLLabel2 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton5 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;

    QString m_chatLink;
    bool m_terminationRequested = false;
    bool m_closeConfirmed = false;
    WindowDrag m_drag {this};
};
