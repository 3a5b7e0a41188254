#include "popup/BlendColor.h"

#include <cstdlib>
#include <limits>

namespace popup {

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const qint64 product = qint64(number) * numerator;
    const qint64 magnitude = std::llabs(product);
    const qint64 divisor = std::llabs(qint64(denominator));
    const qint64 rounded = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (denominator < 0);
    const qint64 result = negative ? -rounded : rounded;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return -1;
    return int(result);
}

RgbColor BlendColor(const RgbColor &c1, const RgbColor &c2, int position, int count)
{
    const int p = position - 1;
    const int n = count - 1;
    const auto channel = [p, n](int from, int to) {
        return (from + MulDiv(p, to - from, n)) & 0xFF;
    };
    return {channel(c1.red, c2.red), channel(c1.green, c2.green), channel(c1.blue, c2.blue)};
}

} // namespace popup
