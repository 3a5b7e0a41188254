#include "soap/XmlInputLimits.h"

#include "service/XmlScan.h"

namespace server {

namespace XmlInputLimits {

bool withinLimits(QStringView xml)
{
    return XmlScan::scan(xml, {MaxDepth, MaxAttributesPerElement, MaxElements})
        == XmlScan::Verdict::WithinLimits;
}

} // namespace XmlInputLimits

} // namespace server
