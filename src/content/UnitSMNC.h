#pragma once

#include "content/ContentRows.h"
#include "ui/Unit3.h"

class QDateEdit;
class QPlainTextEdit;
class QPushButton;
class StringGrid;

// The alert management window: today's alerts, the latest 30 alerts (or those of a chosen date
// range) and today's live-trading items, with the full text of a double-clicked row in a detail
// box. Opening it counts as having seen the alert and live-trading changes up to that moment.
class TFormSMNC final : public Tmain
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormSMNC)

public:
    explicit TFormSMNC(QWidget *owner = nullptr);
    explicit TFormSMNC(HostedIn host);
    ~TFormSMNC() override;

    // Loads the three grids and takes the counter snapshot; a failure stops it silently.
    void iniformdate();
    // "查询": the alerts of the chosen date range into StringGrid2; a failure stops it silently.
    void Button2Click();

    // The change polling refills the grids through these while the window is open. A chosen row
    // stays on its entry when the refill moves it; when the entry is gone the choice is cleared,
    // and so is the detail box if it showed that grid's row.
    void showTodaysAlerts(const GridRows &rows); // StringGrid1
    void showLatestAlerts(const GridRows &rows); // StringGrid2
    void showTodaysLiveItems(const GridRows &rows); // StringGrid3

    QDateEdit *DateTimePicker1 = nullptr;
    QDateEdit *DateTimePicker2 = nullptr;
    QPushButton *Button2 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildDesign();
    void FormCreate();
    void FormShow();
    void StringGrid1DblClick();
    void StringGrid2DblClick();
    void StringGrid3DblClick();
    void showAlertDetail(const QString &heading, const StringGrid &grid);
    void refill(StringGrid &grid, const GridRows &rows);

    StringGrid *StringGrid1 = nullptr; // today's alerts
    StringGrid *StringGrid2 = nullptr; // latest 30 alerts, or a date range
    StringGrid *StringGrid3 = nullptr; // today's live-trading items
    const StringGrid *m_detailGrid = nullptr; // whose row the detail box shows
    bool m_shown = false;
};
