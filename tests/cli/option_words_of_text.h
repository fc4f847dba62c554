// The option words ("-h", "--max-sun") that a help text or a manual page names, for the tests
// that hold them in step.
#pragma once

#include <cctype>
#include <set>
#include <string>
#include <string_view>

namespace zen::test {

// Every word of one or two "-" and a lower-case letter, then letters, digits and "-", that does
// not continue another word ("half-shadow" and "-20..20" name no option).
inline std::set<std::string> OptionWordsOf(std::string_view text) {
  std::set<std::string> words;
  auto wordCharacter = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_';
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '-' || (i > 0 && wordCharacter(text[i - 1]))) continue;
    size_t end = i + 1;
    if (end < text.size() && text[end] == '-') ++end;
    if (end >= text.size() || !std::islower(static_cast<unsigned char>(text[end]))) continue;
    while (end < text.size() && wordCharacter(text[end])) ++end;
    words.insert(std::string(text.substr(i, end - i)));
    i = end;
  }
  return words;
}

}  // namespace zen::test
