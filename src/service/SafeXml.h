#pragma once

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

// Every XML document the client reads comes from the network, so it is checked before the parser
// sees it and then read without recursion. Qt's reader compares each attribute of an element with
// all the others (quadratic time), and reading the text of nested elements recurses once per
// level; both are bounded here.
namespace SafeXml {

// Far more than any answer of the service needs (an envelope is five levels deep, a result
// document three, a service description six).
constexpr int maxDepth = 64;
constexpr int maxAttributes = 64;

// A linear scan of the markup. Answers an empty text when the document stays within maxDepth
// nested elements and maxAttributes attributes per element and carries no DTD, otherwise the
// reason for refusing it, written for the user. A document that is not well-formed may pass:
// the parser rejects it at the same place where this scan stops trusting it.
QString refusalReason(QStringView text);

// Decodes an answer body as UTF-8, the only encoding the service sends. Answers false for bytes
// that are not UTF-8.
bool decodeUtf8(const QByteArray &bytes, QString &text);

// Moves the reader onto the document element. A document that carries a DTD is refused: the
// service never sends one, and entity declarations are a way to smuggle in content or blow up
// memory. Returns false when there is no document element or a DTD was seen.
bool enterDocumentElement(QXmlStreamReader &xml);

// The text of the current element and of all elements inside it, read without recursion. The
// reader ends on the element's end; on a parse error it stops there (check hasError()).
QString elementText(QXmlStreamReader &xml);

} // namespace SafeXml
