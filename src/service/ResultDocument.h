#pragma once

#include <QHash>
#include <QList>
#include <QString>

// A query answer: root element -> one child per row -> one child per column, named as the column.
// Values are trimmed; a column absent from a row (null on the server) reads as empty text.
class ResultDocument
{
public:
    ResultDocument() = default;

    // Parses the answer text as received (Unicode, no code-page round trip). Raises AppError when
    // it is not a well-formed document.
    static ResultDocument parse(const QString &text);

    int rowCount() const { return int(m_rows.size()); }

    // Raises AppError for a row that does not exist (reading row 0 of an empty answer).
    QString value(int row, QStringView column) const;

private:
    // A row keeps only the columns it has, so a row's cost follows its own size, whatever columns
    // other rows named. A column given twice in a row reads as its last value.
    struct Cell
    {
        int column;
        QString value;
    };

    QHash<QString, int> m_columnIndex; // every column name seen -> its number
    QList<QList<Cell>> m_rows;
};
