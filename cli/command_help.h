// The help of the command words: each command's synopsis, its options with a one-line meaning
// and its notes, as `zenarith COMMAND --help` prints them, and the pieces the commands share.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zen::cli {

// One option (or operand) as the help lists it.
struct TOptionHelp {
  const char* words;    // as typed, with its value: "--sat NUMBER", "-h, --help", "FILE"
  const char* meaning;  // one line
};

struct TCommandHelp {
  const char* word;                   // the command word
  const char* brief;                  // what it does, one line of the program's --help
  std::vector<const char*> synopses;  // the words after "zenarith WORD", one per form
  const char* summary;                // what it does, the command's own --help
  std::vector<TOptionHelp> options;   // every option the command takes, in a useful order
  std::vector<const char*> notes;     // paragraphs after the options
};

// The entries every command shares.
inline constexpr TOptionHelp kHelpOptionHelp = {"-h, --help", "print this help and exit"};
inline constexpr TOptionHelp kElementFileHelp = {
    "FILE", "the element file (two-line sets or mean-elements messages)"};
inline constexpr TOptionHelp kSiteOptionHelp = {
    "--site LAT,LON[,ALT_M]",
    "the observer: degrees north and east, metres above sea level (0 when left out)"};
inline constexpr const char* kTimeNote =
    "TIME is a moment in UTC: YYYY-MM-DD (midnight), YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS, "
    "with \"T\" or a blank between date and time and an optional closing \"Z\" "
    "(2026-05-30T12:00:00Z, or \"2026-05-30 12:00\" in quotes).";
inline constexpr const char* kSiteNote =
    "LAT,LON[,ALT_M]: latitude north and longitude east positive, west and south negative "
    "(52.2297,21.0122,100 or 40.7128,-74.006); longitudes up to 360 are read as east.";

// -h or --help among the words: the command prints its help, whatever else is given.
bool AsksForHelp(const std::vector<std::string>& args);

// "usage: zenarith WORD ..." with one line per form, long forms folded.
std::string UsageLines(const TCommandHelp& help);

// The whole help: usage, summary, options and notes.
std::string CommandHelpText(const TCommandHelp& help);

// Prints the help on out; returns the exit code, 1 (said on err) when it could not be written.
int AnswerHelp(const TCommandHelp& help, std::ostream& out, std::ostream& err);

// Text folded into lines of at most kHelpWidth columns, each ending in a line end: the first
// starts with prefix, the others with indent blanks. With keepGroups a bracketed or
// parenthesised group of a synopsis is never split.
inline constexpr size_t kHelpWidth = 79;
std::string FoldText(std::string_view prefix, std::string_view text, size_t indent,
                     bool keepGroups = false);

// The option lines: the words, then the meaning from a common column.
std::string OptionLines(const std::vector<TOptionHelp>& options);

}  // namespace zen::cli
