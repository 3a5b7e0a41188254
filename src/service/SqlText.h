#pragma once

#include <QString>

// Every value the client places between single quotes in a statement goes through this:
// each quote is doubled, so a quote typed into a field can never end the literal.
QString sqlQuoted(const QString &value);
