// The daemons' answer codes ("RPRT n") in words.
#include "station/daemon_report.h"

#include <array>

namespace zen::station {

QString ReportText(int code) {
  // The daemons' error codes are negative: index 1 is -1.
  static constexpr std::array<const char*, 18> kWords = {
      "done",
      "the value was refused as invalid",
      "the daemon's device is set up wrongly",
      "the daemon ran out of memory",
      "the device does not have that function",
      "the device timed out",
      "the daemon could not reach the device (input/output error)",
      "the daemon failed inside",
      "the device answered something the daemon could not read",
      "the device rejected the command",
      "a text was cut short",
      "the function is not available now",
      "the VFO cannot be chosen",
      "the device's bus failed",
      "the device's bus is busy",
      "the daemon was given a wrong argument",
      "the VFO is not valid",
      "the value is outside the device's range",
  };
  const int index = -code;
  const QString word = index >= 0 && index < int(kWords.size())
                           ? QString::fromLatin1(kWords[size_t(index)])
                           : QStringLiteral("the daemon reported error %1").arg(code);
  return word + QStringLiteral(" (RPRT %1)").arg(code);
}

}  // namespace zen::station
