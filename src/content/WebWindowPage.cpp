#include "content/WebWindowPage.h"

#include "ui/MessageBoxes.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEventLoop>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

namespace {

const char stopBoxName[] = "StopDialogs";

QString dialogCaption()
{
    return QStringLiteral("网页消息");
}

QCheckBox *newStopBox()
{
    auto *box = new QCheckBox(QStringLiteral("禁止此网页再弹出对话框"));
    box->setObjectName(QLatin1String(stopBoxName));
    return box;
}

QMessageBox *newMessageBox(QWidget *parent, const QString &message, bool withCancel)
{
    auto *box = new QMessageBox(parent);
    box->setIcon(QMessageBox::Information);
    box->setStandardButtons(withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    setBoxTextAndCaption(*box, message, dialogCaption());
    return box;
}

} // namespace

WebWindowPage::WebWindowPage(QWidget *dialogParent) : m_dialogParent(dialogParent) { }

void WebWindowPage::discard()
{
    if (m_waiting == 0) {
        delete this;
        return;
    }
    m_discarded = true;
    if (m_shown)
        m_shown->reject();
}

bool WebWindowPage::waitFor(QDialog *dialog, const std::function<bool()> &accepted)
{
    if (offersToStop()) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            box->setCheckBox(newStopBox());
        else if (auto *layout = qobject_cast<QBoxLayout *>(dialog->layout()))
            layout->insertWidget(layout->count() - 1, newStopBox()); // above the buttons
    }
    ++m_dialogsShown;
    m_shown = dialog;
    QEventLoop loop;
    connect(dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    dialog->setWindowModality(Qt::NonModal);
    dialog->show();
    ++m_waiting;
    loop.exec();
    --m_waiting;

    bool answer = false;
    if (m_shown) {
        if (auto *stop = m_shown->findChild<QCheckBox *>(QLatin1String(stopBoxName)))
            m_dialogsStopped = stop->isChecked();
        answer = accepted();
        delete m_shown.data();
    }
    if (m_discarded && m_waiting == 0)
        deleteLater(); // from here the stack holds no more of this page
    return answer && !m_discarded;
}

void WebWindowPage::javaScriptAlert(const QUrl &, const QString &message)
{
    if (m_dialogsStopped)
        return;
    waitFor(newMessageBox(m_dialogParent, message, false), [] { return true; });
}

bool WebWindowPage::javaScriptConfirm(const QUrl &, const QString &message)
{
    if (m_dialogsStopped)
        return false;
    QMessageBox *box = newMessageBox(m_dialogParent, message, true);
    return waitFor(box, [box] { return box->clickedButton() == box->button(QMessageBox::Ok); });
}

bool WebWindowPage::javaScriptPrompt(const QUrl &, const QString &message,
                                     const QString &defaultValue, QString *result)
{
    if (m_dialogsStopped)
        return false;
    auto *dialog = new QInputDialog(m_dialogParent);
    dialog->setWindowTitle(dialogCaption());
    dialog->setLabelText(shortenedBoxText(message));
    if (auto *label = dialog->findChild<QLabel *>())
        label->setWordWrap(true); // a long line stays on the screen
    dialog->setTextValue(defaultValue);
    return waitFor(dialog, [dialog, result] {
        if (dialog->result() != QDialog::Accepted)
            return false;
        *result = dialog->textValue();
        return true;
    });
}
