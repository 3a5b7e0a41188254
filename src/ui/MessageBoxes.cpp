#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

#include <algorithm>

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

// What a box shows of a long text (a server's fault text can run to megabytes): enough lines and
// characters to read what went wrong; the rest is in the box's details.
constexpr int shownLines = 12;
constexpr qsizetype shownCharacters = 400;
// Room in a title bar beside the caption: the window icon and three buttons, with padding, on the
// window managers we know.
constexpr int titleBarControlsWidth = 160;

// The width a title bar needs for the whole caption, in the bold face window managers draw it in.
int captionWidth(const QString &caption)
{
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) + titleBarControlsWidth;
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
    QMessageBox box(toQt(icon), QString(), QString(),
                    buttons == BoxButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                    : QMessageBox::Ok,
                    parent);
    setBoxTextAndCaption(box, text, caption);
    return box.exec() == QMessageBox::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

QString shortenedBoxText(const QString &text)
{
    qsizetype end = std::min(text.size(), shownCharacters);
    qsizetype lineBreak = -1;
    for (int line = 0; line < shownLines; ++line) {
        lineBreak = text.indexOf(QLatin1Char('\n'), lineBreak + 1);
        if (lineBreak < 0 || lineBreak >= end)
            break;
    }
    if (lineBreak >= 0 && lineBreak < end)
        end = lineBreak;
    if (end == text.size())
        return text;
    if (end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end) + QStringLiteral("……");
}

void setBoxTextAndCaption(QMessageBox &box, const QString &text, const QString &caption)
{
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    const QString shown = shortenedBoxText(text);
    box.setText(shown);
    if (shown != text) {
        box.setDetailedText(text);
    }
    // The box sizes itself from its contents; its button row, which spans the box, holds it at
    // the caption's width.
    if (auto *row = box.findChild<QDialogButtonBox *>())
        row->setMinimumWidth(captionWidth(caption));
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
