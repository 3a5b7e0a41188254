#include "service/SafeXml.h"

#include "service/XmlScan.h"

#include <QStringDecoder>

namespace SafeXml {

QString refusalReason(QStringView text)
{
    switch (XmlScan::scan(text, {maxDepth, maxAttributes})) {
    case XmlScan::Verdict::TooDeep:
        return QStringLiteral("元素嵌套超过 %1 层").arg(maxDepth);
    case XmlScan::Verdict::TooManyAttributes:
        return QStringLiteral("一个元素的属性超过 %1 个").arg(maxAttributes);
    case XmlScan::Verdict::HasDtd:
        return QStringLiteral("文档含有 DTD");
    case XmlScan::Verdict::WithinLimits:
    case XmlScan::Verdict::TooManyElements: // no element limit here: a result has many rows
    case XmlScan::Verdict::UnmatchedEndTag: // the parser stops right there with its own error
        break;
    }
    return QString();
}

bool decodeUtf8(const QByteArray &bytes, QString &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool enterDocumentElement(QXmlStreamReader &xml)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            return false;
        default:
            break;
        }
    }
    return false;
}

QString elementText(QXmlStreamReader &xml)
{
    QString text;
    int open = 1;
    while (open > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            ++open;
            break;
        case QXmlStreamReader::EndElement:
            --open;
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace SafeXml
