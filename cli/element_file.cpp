// Reading the element file a command names.
#include "cli/element_file.h"

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
  return true;
}

}  // namespace zen::cli
