#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QQueue>

namespace {
struct Recorder
{
    bool active = false;
    QQueue<QString> answers;
    QList<FileDialogRecorder::Asked> asked;
};

Recorder &recorder()
{
    static Recorder instance;
    return instance;
}
} // namespace

QString chooseFileToOpen(QWidget *parent, const QString &caption, const QString &startFolder,
                         const QString &filter)
{
    Recorder &r = recorder();
    if (r.active) {
        r.asked.append({caption, startFolder, filter});
        return r.answers.isEmpty() ? QString() : r.answers.dequeue();
    }
    return QFileDialog::getOpenFileName(parent, caption, startFolder, filter);
}

namespace FileDialogRecorder {
void start()
{
    recorder() = Recorder {};
    recorder().active = true;
}

void stop()
{
    recorder() = Recorder {};
}

void queueAnswer(const QString &chosenFile)
{
    recorder().answers.enqueue(chosenFile);
}

QList<Asked> asked()
{
    return recorder().asked;
}
} // namespace FileDialogRecorder
