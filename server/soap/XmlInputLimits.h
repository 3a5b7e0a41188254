#pragma once

#include <QStringView>

// Bounds on XML that arrives from the network, checked in one linear pass before any XML reader
// sees the text. QXmlStreamReader compares every attribute of an element with every other one
// (quadratic in their number), and text gathered through nested elements recurses once per
// level; both are harmless only while elements are few, shallow and have few attributes.
namespace XmlInputLimits {

inline constexpr int MaxDepth = 32;
inline constexpr int MaxAttributesPerElement = 32;
inline constexpr int MaxElements = 1000;

// False when the text nests elements deeper, holds more elements, or gives one element more
// attributes (namespace declarations included) than the limits allow, and for a DTD or an end
// tag without its start, which are refused as broken XML anyway. Other broken XML is left for
// the reader to report.
bool withinLimits(QStringView xml);

} // namespace XmlInputLimits
