// The words of a command's options: "--name value" or "--name=value", whole numbers, reals.
#include "cli/option_words.h"

#include <charconv>
#include <cmath>

namespace zen::cli {

bool TakeOptionValue(const std::vector<std::string>& args, size_t& i, std::string& name,
                     std::string& value) {
  name = args[i];
  const size_t eq = name.find('=');
  if (eq != std::string::npos) {
    value = name.substr(eq + 1);
    name = name.substr(0, eq);
    return true;
  }
  if (i + 1 < args.size()) {
    value = args[++i];
    return true;
  }
  return false;
}

bool ParseWhole(std::string_view text, int64_t& value) {
  const char* end = text.data() + text.size();
  auto [rest, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && rest == end;
}

bool ParseReal(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  auto [rest, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && rest == end && std::isfinite(value);
}

}  // namespace zen::cli
