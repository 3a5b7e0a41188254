#pragma once

#include <QXmlStreamReader>

// Moves the reader onto the document element. A document that carries a DTD is refused: the
// service never sends one, and entity declarations are a way to smuggle in content or blow up
// memory. Returns false when there is no document element or a DTD was seen.
inline bool enterDocumentElement(QXmlStreamReader &xml)
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
