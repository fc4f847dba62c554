// The daemons' answer codes ("RPRT n") in words.
#pragma once

#include <QString>

namespace zen::station {

// "the device timed out (RPRT -5)"; a code the daemons do not define is named by its number.
QString ReportText(int code);

}  // namespace zen::station
