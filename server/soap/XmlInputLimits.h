#pragma once

#include <QStringView>

namespace server {

// Bounds on the XML of a request, checked in one linear pass (XmlScan) before any XML reader sees
// the text. A request is a few elements deep and short; far more than that is refused.
namespace XmlInputLimits {

inline constexpr int MaxDepth = 32;
inline constexpr int MaxAttributesPerElement = 32;
inline constexpr int MaxElements = 1000;

// False when the text nests elements deeper (an empty element counts as a level), holds more
// elements, or gives one element more attributes (namespace declarations included) than the
// limits allow, and for a DTD or an end tag without its start, which are refused as broken XML
// anyway. Other broken XML is left for the reader to report.
bool withinLimits(QStringView xml);

} // namespace XmlInputLimits

} // namespace server
