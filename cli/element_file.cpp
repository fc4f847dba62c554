// Reading the element file a command names.
#include "cli/element_file.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace zen::cli {

bool ReadCommandElementFile(const char* command, const std::string& file, TCatalog& catalog,
                            int& count, std::ostream& err) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    err << command << ": cannot open " << file << "\n";
    return false;
  }
  try {
    count = catalog.ReadElementFile(file);
  } catch (const std::exception& e) {
    err << command << ": cannot read " << file << ": " << e.what() << "\n";
    return false;
  }
  const unsigned invalid = catalog.InvalidElementCount;
  if (invalid > 0) {
    // The counter stops at its largest value; past it the count is a lower bound.
    err << command << ": " << invalid << (invalid == UINT16_MAX ? " or more" : "")
        << (invalid == 1 ? " invalid element set" : " invalid element sets") << " skipped in "
        << file << "\n";
  }
  return true;
}

}  // namespace zen::cli
