#pragma once

#include <QString>

// Values from result documents and entry fields are trimmed of blanks and control characters
// (codes up to 32) before use; flags and integers convert by fixed rules and raise AppError
// when the text does not convert.

QString trimmedText(const QString &text);
QStringView trimmedView(QStringView text);

// "True"/"False" in any letter case, or a number where 0 means false.
bool toBoolean(const QString &text);

// A decimal signed 32-bit integer.
int toInteger(const QString &text);
