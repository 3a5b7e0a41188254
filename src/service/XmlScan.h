#pragma once

#include <QStringView>

#include <limits>

// One linear pass over XML that arrives from the network, before any XML reader sees it. Qt's
// reader compares every attribute of an element with every other one (quadratic in their number),
// and text gathered through nested elements recurses once per level; both are harmless only while
// elements are few, shallow and have few attributes. The client and the reference server both
// check what they receive with it.
namespace XmlScan {

struct Limits
{
    int maxDepth; // nested elements; an empty element ("<a/>") is a level too
    int maxAttributes; // per element, namespace declarations included
    int maxElements = std::numeric_limits<int>::max();
};

enum class Verdict {
    WithinLimits,
    TooDeep,
    TooManyAttributes,
    TooManyElements,
    HasDtd, // never accepted: entity declarations smuggle content or blow up memory
    UnmatchedEndTag, // broken anyway; the scan stops trusting the text there
};

// Comments, CDATA sections and processing instructions are skipped; attribute values are quoted
// and hold no '<', so a start tag ends at the first '>' outside quotes. Other broken XML is left
// for the reader to report.
Verdict scan(QStringView xml, const Limits &limits);

} // namespace XmlScan
