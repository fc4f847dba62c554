// The words of a command's options: "--name value" or "--name=value", whole numbers, reals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zen::cli {

// For an option word at args[i]: splits "--name=value", or takes the next word as the value
// (advancing i). name gets the option without its value; false when no value was found.
bool TakeOptionValue(const std::vector<std::string>& args, size_t& i, std::string& name,
                     std::string& value);

// The whole text as a decimal integer (optional "-"), nothing else.
bool ParseWhole(std::string_view text, int64_t& value);
// The whole text as a finite real number with ".".
bool ParseReal(std::string_view text, double& value);

}  // namespace zen::cli
