#pragma once

// What each fuzz target does with one input. The fuzz targets call these, and so does the replay
// test of the ordinary build (tests/service/tst_fuzz_inputs), over the seeds and every input that
// once failed. A broken expectation aborts, which the fuzzer reports as a finding.

#include "app/ChangeCounters.h"
#include "service/AppError.h"
#include "service/ResultDocument.h"
#include "service/SafeXml.h"
#include "service/SoapEnvelope.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <cstdio>
#include <cstdlib>

namespace FuzzInputs {

enum class Outcome { Read, Refused };

[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "fuzz expectation broken: %s\n", what);
    std::abort();
}

// A text that SafeXml's linear scan lets through never shows Qt's parser more nesting or more
// attributes than the limits.
inline void requireBoundsHold(const QString &text)
{
    if (!SafeXml::refusalReason(text).isEmpty())
        return;
    QXmlStreamReader xml(text);
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (++depth > SafeXml::maxDepth)
                fail("the markup scan let through deeper nesting");
            if (xml.attributes().size() > SafeXml::maxAttributes)
                fail("the markup scan let through more attributes");
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
}

// The counters text of ifchangetable through the splitter. Every item but a trailing empty one
// consumes at least one character, and no item holds more characters than the text.
inline Outcome splitCounters(const QByteArray &input)
{
    const QString text = QString::fromUtf8(input);
    const QStringList items = splitCounterItems(text);
    qsizetype characters = 0;
    for (const QString &item : items)
        characters += item.size();
    if (items.size() > text.size() + 1 || characters > text.size())
        fail("the counter items hold more than the text");
    return Outcome::Read;
}

inline Outcome readResultText(const QString &text)
{
    requireBoundsHold(text);
    try {
        const ResultDocument document = ResultDocument::parse(text);
        for (int row = 0; row < document.rowCount(); ++row)
            document.value(row, u"id");
        return Outcome::Read;
    } catch (const AppError &) {
        return Outcome::Refused;
    }
}

// A result document (the unescaped text of a query answer) through the reader.
inline Outcome readResultDocument(const QByteArray &input)
{
    return readResultText(QString::fromUtf8(input));
}

// The operation whose answer the body claims to be ("...<xyzResponse"), so that answers of every
// operation reach the result reading.
inline QString claimedOperation(const QByteArray &body)
{
    const qsizetype end = body.indexOf("Response");
    if (end < 0)
        return QStringLiteral("hqsametable");
    qsizetype start = end;
    while (start > 0 && body[start - 1] != '<' && body[start - 1] != ':')
        --start;
    return QString::fromUtf8(body.mid(start, end - start));
}

// A SOAP answer body through the envelope and fault reader and, when it yields a result, through
// the result-document reader. A fault read is a refusal.
inline Outcome readSoapResponse(const QByteArray &input)
{
    QString decoded;
    if (SafeXml::decodeUtf8(input, decoded))
        requireBoundsHold(decoded);
    QString result;
    try {
        result = SoapEnvelope::resultText(claimedOperation(input), 200, input);
    } catch (const AppError &) {
        return Outcome::Refused;
    }
    // Not every answer is a document (a flag, a number, the counters): reading it must still hold.
    readResultText(result);
    return Outcome::Read;
}

} // namespace FuzzInputs
