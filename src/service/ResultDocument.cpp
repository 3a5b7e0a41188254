#include "service/ResultDocument.h"

#include "service/AppError.h"
#include "service/Conversions.h"
#include "service/SafeXml.h"

#include <QXmlStreamReader>

namespace {
[[noreturn]] void malformed(const QXmlStreamReader &xml)
{
    const QString reason = xml.hasError() ? xml.errorString() : QStringLiteral("文档不完整");
    throw AppError(QStringLiteral("服务器返回的数据不是有效的 XML 文档（%1）").arg(reason));
}
} // namespace

int ResultDocument::columnIndex(QStringView column) const
{
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i) == column)
            return int(i);
    }
    return -1;
}

ResultDocument ResultDocument::parse(const QString &text)
{
    ResultDocument document;
    QXmlStreamReader xml(text);
    if (!enterDocumentElement(xml))
        malformed(xml);

    while (xml.readNextStartElement()) {   // rows
        QList<QString> &row = document.m_rows.emplace_back();
        row.reserve(document.m_columns.size());
        while (xml.readNextStartElement()) {   // columns
            int index = document.columnIndex(xml.name());
            if (index < 0) {
                index = int(document.m_columns.size());
                document.m_columns.append(xml.name().toString());
            }
            const QString value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (xml.hasError())
                malformed(xml);
            if (row.size() <= index)
                row.resize(index + 1);
            row[index] = trimmedText(value);
        }
        if (xml.hasError())
            malformed(xml);
    }
    if (xml.hasError())
        malformed(xml);
    // Whatever follows the root (comments, blanks) must still be well-formed.
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() == QXmlStreamReader::StartElement || xml.tokenType() == QXmlStreamReader::DTD)
            malformed(xml);
    }
    if (xml.hasError())
        malformed(xml);
    return document;
}

QString ResultDocument::value(int row, QStringView column) const
{
    if (row < 0 || row >= m_rows.size())
        throw AppError(QStringLiteral("数据中没有第 %1 行（共 %2 行）").arg(row).arg(m_rows.size()));
    const int index = columnIndex(column);
    const QList<QString> &values = m_rows.at(row);
    return index >= 0 && index < values.size() ? values.at(index) : QString();
}
