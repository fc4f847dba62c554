// Reading the element file a command names.
#include "cli/element_file.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace zen::cli {

namespace {

// Reads the file with read; says on err what kept it from being read, and how many sets
// failed validation.
template <typename TRead>
bool ReadCommandFile(const char* command, const std::string& file, TCatalog& catalog, int& count,
                     std::ostream& err, TRead read) {
  // A missing file reads as an empty catalogue; a command named one that should be there.
  if (NothingAt(file)) {
    err << command << ": cannot open " << file << ": there is no such file\n";
    return false;
  }
  try {
    count = read();
  } catch (const TFileError& e) {
    err << command << ": " << e.what() << "\n";
    return false;
  } catch (const std::exception& e) {
    err << command << ": cannot read " << file << ": " << e.what() << "\n";
    return false;
  }
  std::error_code ec;
  if (count == 0 && catalog.InvalidElementCount == 0 && !std::filesystem::exists(file, ec)) {
    err << command << ": cannot open " << file << ": it is a link to no file\n";
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

}  // namespace

bool ReadCommandElementFile(const char* command, const std::string& file, TCatalog& catalog,
                            int& count, std::ostream& err) {
  return ReadCommandFile(command, file, catalog, count, err,
                         [&] { return catalog.ReadElementFile(file); });
}

void WarnOfElementAge(const char* command, const std::vector<TAgedSet>& sets, double nowJd,
                      std::ostream& err) {
  const std::string warning = ElementAgeWarning(sets, sets.size() == 1 ? 0 : -1, nowJd);
  if (!warning.empty()) err << command << ": warning: " << warning << "\n";
}

bool ReadCommandEverySet(const char* command, const std::string& file, TCatalog& catalog,
                         const TCatalog::TSetSink& take, int& count, std::ostream& err) {
  return ReadCommandFile(command, file, catalog, count, err,
                         [&] { return catalog.ReadEverySet(file, take); });
}

}  // namespace zen::cli
