#include "statements/StatementFirewall.h"

#include <QDate>
#include <QRegularExpression>

namespace server {

namespace {

// Longest integer accepted in a slot; more digits than fit a 64-bit value is no client's text.
constexpr qsizetype MaxDigits = 18;

// Reads `count` to `maxCount` ASCII digits at `at`; nothing when there are not that many.
std::optional<int> digitsAt(QStringView text, qsizetype &at, int count, int maxCount)
{
    int value = 0;
    int read = 0;
    while (read < maxCount && at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
        value = value * 10 + (text[at].unicode() - u'0');
        ++at;
        ++read;
    }
    return read >= count ? std::optional<int>(value) : std::nullopt;
}

// "#2026-12-07#" as the client writes it, or the locale form "#2026/12/7#": ASCII digits and one
// kind of separator, nothing else (no blank, no line break).
std::optional<QDate> parseDateLiteral(QStringView text)
{
    qsizetype at = 0;
    const std::optional<int> year = digitsAt(text, at, 4, 4);
    if (!year || at >= text.size() || (text[at] != u'-' && text[at] != u'/'))
        return std::nullopt;
    const QChar separator = text[at++];
    const std::optional<int> month = digitsAt(text, at, 1, 2);
    if (!month || at >= text.size() || text[at++] != separator)
        return std::nullopt;
    const std::optional<int> day = digitsAt(text, at, 1, 2);
    if (!day || at != text.size())
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

StatementFirewall::StatementFirewall()
{
    static const QRegularExpression slot(QStringLiteral(R"(\{(level|id|text|date)\})"));
    for (const StatementShape &shape : statementShapes()) {
        CompiledShape compiled {&shape, {}};
        qsizetype from = 0;
        for (const QRegularExpressionMatch &m : slot.globalMatch(shape.text)) {
            if (m.capturedStart() > from)
                compiled.pieces.append(
                    {PieceType::Fixed, shape.text.mid(from, m.capturedStart() - from)});
            const QStringView name = m.capturedView(1);
            const PieceType type = name == u"text" ? PieceType::Text
                : name == u"date"                  ? PieceType::Date
                                                   : PieceType::Integer;
            compiled.pieces.append({type, {}});
            from = m.capturedEnd();
        }
        if (from < shape.text.size())
            compiled.pieces.append({PieceType::Fixed, shape.text.mid(from)});
        m_shapes.append(compiled);
    }
}

std::optional<MatchedStatement> StatementFirewall::match(QStringView sql) const
{
    for (const CompiledShape &compiled : m_shapes) {
        if (auto matched = matchShape(compiled, sql))
            return matched;
    }
    return std::nullopt;
}

std::optional<MatchedStatement> StatementFirewall::matchShape(const CompiledShape &compiled,
                                                              QStringView sql)
{
    MatchedStatement matched {compiled.shape, {}};
    qsizetype pos = 0;
    for (const Piece &piece : compiled.pieces) {
        switch (piece.type) {
        case PieceType::Fixed:
            if (!sql.sliced(pos).startsWith(piece.fixed))
                return std::nullopt;
            pos += piece.fixed.size();
            break;
        case PieceType::Integer: {
            qsizetype end = pos;
            while (end < sql.size() && sql[end].unicode() >= u'0' && sql[end].unicode() <= u'9')
                ++end;
            if (end == pos || end - pos > MaxDigits)
                return std::nullopt;
            matched.values.append(sql.sliced(pos, end - pos).toLongLong());
            pos = end;
            break;
        }
        case PieceType::Text: {
            // A quoted literal ends at a quote that is not doubled; a doubled quote is one quote.
            QString value;
            qsizetype i = pos;
            for (;;) {
                if (i >= sql.size())
                    return std::nullopt;
                if (sql[i] == QLatin1Char('\'')) {
                    if (i + 1 < sql.size() && sql[i + 1] == QLatin1Char('\'')) {
                        value.append(QLatin1Char('\''));
                        i += 2;
                        continue;
                    }
                    break;
                }
                value.append(sql[i]);
                ++i;
            }
            matched.values.append(value);
            pos = i;
            break;
        }
        case PieceType::Date: {
            const qsizetype end = sql.indexOf(QLatin1Char('#'), pos);
            if (end < 0)
                return std::nullopt;
            const std::optional<QDate> date = parseDateLiteral(sql.sliced(pos, end - pos));
            if (!date)
                return std::nullopt;
            matched.values.append(*date);
            pos = end;
            break;
        }
        }
    }
    if (pos != sql.size())
        return std::nullopt;
    return matched;
}

} // namespace server
