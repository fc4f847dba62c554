// Reading the element file a command names.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "tracking/element_age.h"

namespace zen::cli {

// Reads file into catalog and gives the number of sets stored; when the file is missing or
// cannot be read, says so on err as "<command>: ..." and returns false. Sets that failed
// validation are counted on err ("<command>: 3 invalid element sets skipped in FILE").
bool ReadCommandElementFile(const char* command, const std::string& file, TCatalog& catalog,
                            int& count, std::ostream& err);

// As ReadCommandElementFile, but every set of the file, without the catalogue's capacity:
// each is handed to take in file order (the catalogue's slots are left as they were).
// Says on err "<command>: warning: ..." when the sets' elements are far from their epoch at
// nowJd (UTC); a single set is judged alone, several by the share of stale ones.
void WarnOfElementAge(const char* command, const std::vector<TAgedSet>& sets, double nowJd,
                      std::ostream& err);

bool ReadCommandEverySet(const char* command, const std::string& file, TCatalog& catalog,
                         const TCatalog::TSetSink& take, int& count, std::ostream& err);

}  // namespace zen::cli
