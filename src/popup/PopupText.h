#pragma once

#include <QString>

namespace popup {

// The start of an inner span centred in an outer one: (outer − inner) / 2 taken to the nearest
// integer, halves going to the even neighbour (so 5.5 → 6 and 6.5 → 6).
int centeredPosition(int outer, int inner);

// The popup text as the label shows it: a carriage return (alone or followed by a line feed)
// breaks the line just as a line feed does.
QString withLineBreaks(const QString &text);

} // namespace popup
