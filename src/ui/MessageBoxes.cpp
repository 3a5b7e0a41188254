#include "ui/MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

namespace {
struct Recorder
{
    bool active = false;
    QQueue<BoxAnswer> answers;
    QList<MessageBoxRecorder::Shown> shown;
};

Recorder &recorder()
{
    static Recorder instance;
    return instance;
}

QMessageBox::Icon toQt(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

BoxAnswer showMessage(QWidget *parent, const QString &text, const QString &caption, BoxIcon icon,
                      BoxButtons buttons)
{
    Recorder &r = recorder();
    if (r.active) {
        r.shown.append({text, caption, icon, buttons});
        return r.answers.isEmpty() ? BoxAnswer::Ok : r.answers.dequeue();
    }
    QMessageBox box(toQt(icon), caption, text,
                    buttons == BoxButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                    : QMessageBox::Ok,
                    parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    if (buttons == BoxButtons::OkCancel)
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

namespace MessageBoxRecorder {
void start()
{
    recorder() = Recorder {};
    recorder().active = true;
}

void stop()
{
    recorder() = Recorder {};
}

void queueAnswer(BoxAnswer answer)
{
    recorder().answers.enqueue(answer);
}

QList<Shown> shown()
{
    return recorder().shown;
}

void clear()
{
    recorder().shown.clear();
}
} // namespace MessageBoxRecorder
