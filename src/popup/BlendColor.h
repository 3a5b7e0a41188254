#pragma once

#include <QtGlobal>

namespace popup {

// A colour as three 8-bit channels; kept free of Qt Gui so the gradient maths runs anywhere.
struct RgbColor
{
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const RgbColor &) const = default;
};

// number × numerator / denominator computed in 64 bits and rounded to the nearest integer,
// halves away from zero. A zero denominator or a result outside 32 bits gives -1.
int MulDiv(int number, int numerator, int denominator);

// The colour of gradient line `position` (1-based) of `count`: position 1 is c1, position
// `count` is c2; each channel moves by MulDiv and keeps its low 8 bits.
RgbColor BlendColor(const RgbColor &c1, const RgbColor &c2, int position, int count);

} // namespace popup
