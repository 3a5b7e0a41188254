#pragma once

#include <QPointer>
#include <QWebEnginePage>

#include <functional>

class QDialog;
class QWidget;

// The page of a web window. Its JavaScript dialogs never take the client hostage: each is a window
// of its own that is not modal, so the toolbar and the other windows keep working while it waits;
// from the second dialog on it offers to stop the page's dialogs, after which they are answered at
// once (an alert is dropped, a confirmation or a prompt cancelled), as browsers do.
class WebWindowPage final : public QWebEnginePage
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebWindowPage)

public:
    // Dialogs are shown over `dialogParent`, and go with it.
    explicit WebWindowPage(QWidget *dialogParent);

    // Deletes the page, or, while one of its dialogs is waiting further down the stack, ends that
    // dialog (as cancelled) and deletes the page once the dialog has returned.
    void discard();

protected:
    void javaScriptAlert(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
                          const QString &defaultValue, QString *result) override;

private:
    // Shows the dialog without modality (from the second on, with the check box that stops the
    // page's dialogs) and waits for it; then `accepted` reads its answer. A dialog deleted
    // meanwhile (its window went away) counts as cancelled.
    bool waitFor(QDialog *dialog, const std::function<bool()> &accepted);
    bool offersToStop() const { return m_dialogsShown > 0; }

    QPointer<QWidget> m_dialogParent;
    QPointer<QDialog> m_shown;
    int m_dialogsShown = 0;
    bool m_dialogsStopped = false;
    int m_waiting = 0; // dialogs waited for further down the stack
    bool m_discarded = false;
};
