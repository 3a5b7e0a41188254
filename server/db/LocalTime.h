#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace server {

// The server's time texts. Times are the server's local time: Jet's now(), date() and
// datediff("d", ...) all work in it, and so do the operator's --time values.
namespace LocalTime {

// "yyyy-MM-dd hh:mm:ss": stored entry times, operator input, counter texts.
QString secondsText(const QDateTime &time);
// "yyyy-MM-dd hh:mm:ss.zzz": login times, fine enough that a takeover within the same second
// still changes the stamp.
QString millisecondsText(const QDateTime &time);
// "yyyy-MM-dd 00:00:00": the first moment of a day in stored form.
QString dayStartText(QDate day);
QString dateText(QDate day);

// Parses the operator's "yyyy-MM-dd hh:mm:ss"; nothing for anything else.
std::optional<QDateTime> parseOperatorTime(const QString &text);

// A stored time or date written as .NET's DataSet writes a local DateTime:
// "yyyy-MM-ddThh:mm:ss" plus a fraction when there is one, plus the zone offset "+hh:mm".
QString xmlDateTime(const QString &stored);

} // namespace LocalTime

} // namespace server
