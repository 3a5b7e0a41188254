// Fills StringGrid1 of the alert management window from a 10,000-row answer (parse + fill) and
// prints the times; the first paint afterwards is shown separately.
//   bench_main_grid_fill [rows]
#include "content/ContentRows.h"
#include "content/GridFill.h"
#include "content/StringGrid.h"
#include "content/UnitSMNC.h"
#include "service/ResultDocument.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

// An answer as the reference server writes it: two-blank indentation, CR LF, zone offsets,
// reasons of a dozen Chinese characters as operators write them.
QString alertAnswer(int rows)
{
    const QStringList actions = {QStringLiteral("买入"), QStringLiteral("卖出"),
                                 QStringLiteral("持有")};
    QString text = QStringLiteral("<NewDataSet>\r\n");
    text.reserve(rows * 330);
    for (int id = rows; id >= 1; --id) {
        const int second = id % 86400;
        text += QStringLiteral("  <Table>\r\n    <id>%1</id>\r\n    <XinXiDJ>%2</XinXiDJ>\r\n"
                               "    <nowtime>2026-12-08T%3:%4:%5+08:00</nowtime>\r\n"
                               "    <gupiaodaima>%6</gupiaodaima>\r\n    <jg>%7</jg>\r\n"
                               "    <czfs>%8</czfs>\r\n")
                    .arg(id)
                    .arg(id % 4)
                    .arg(second / 3600, 2, 10, QLatin1Char('0'))
                    .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(second % 60, 2, 10, QLatin1Char('0'))
                    .arg(600000 + id % 4000)
                    .arg(10.0 + (id % 5000) / 100.0, 0, 'f', 2)
                    .arg(actions.at(id % 3));
        text +=
            QStringLiteral("    <czly>放量突破平台，第%1号预警</czly>\r\n  </Table>\r\n").arg(id);
    }
    text += QStringLiteral("</NewDataSet>");
    return text;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const QString answer = alertAnswer(rows);

    TFormSMNC window; // free-standing; its own loads fail quietly without a server
    window.show();
    QCoreApplication::processEvents();
    StringGrid &grid = *window.findChild<StringGrid *>(QStringLiteral("StringGrid1"));

    QList<double> parse;
    QList<double> fill;
    QList<double> total;
    QList<double> paint;
    constexpr int runs = 9;
    for (int run = 0; run < runs; ++run) {
        grid.setRowCount(2);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        const ResultDocument document = ResultDocument::parse(answer);
        const qint64 parsed = clock.nsecsElapsed();
        fillGrid(grid, rowsInFormat(document, alertRowFormat()));
        const qint64 filled = clock.nsecsElapsed();
        grid.repaint();
        const qint64 painted = clock.nsecsElapsed();
        parse.append(parsed / 1e6);
        fill.append((filled - parsed) / 1e6);
        total.append(filled / 1e6);
        paint.append((painted - filled) / 1e6);
        if (grid.rowCount() != rows + 1) {
            std::fprintf(stderr, "grid has %d rows, expected %d\n", grid.rowCount(), rows + 1);
            return 1;
        }
    }
    std::printf("StringGrid1 from a %d-row answer (%.1f MB of text), median of %d runs:\n", rows,
                answer.size() * 2 / 1048576.0, runs);
    std::printf("  parse        %7.1f ms\n", median(parse));
    std::printf("  fill         %7.1f ms\n", median(fill));
    std::printf("  parse + fill %7.1f ms   (target <= 50 ms; best %.1f ms)\n", median(total),
                *std::min_element(total.begin(), total.end()));
    std::printf("  first paint  %7.1f ms   (after the fill, not part of the target)\n",
                median(paint));
    return 0;
}
