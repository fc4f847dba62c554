// The answers of element updates: counted as element sets, judged against the file they would
// replace, and put in its place only when sound.
#include "tracking/element_update.h"
#include "fuzz/fuzz_support.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view answer = zen::fuzz::AsText(data, size);
  const auto file = zen::fuzz::ScratchFile("answer.txt", answer);
  const zen::TElementCount count = zen::CountElementSets(file);
  Require(count.valid >= 0 && count.invalid >= 0, "sets are counted from 0");
  Require(count.distinct <= count.valid && (count.distinct > 0) == (count.valid > 0),
          "every satellite counted has a set, and sets have satellites");

  // Against a current file of 40 satellites, as an update sees a group it fetched before.
  zen::TElementCount current;
  current.valid = current.distinct = 40;
  const std::string problem = zen::AnswerProblem(count, current);
  Require(problem.empty() == (count.distinct >= 20 && count.invalid == 0),
          "an answer is taken when sound and of at least half the satellites");

  // Against no file at all, any answer of readable sets is taken: then the target holds
  // exactly the answer. Written only then, to keep the disk out of most runs.
  if (!zen::AnswerProblem(count, zen::TElementCount{}).empty()) return 0;
  const std::filesystem::path target = zen::fuzz::Scratch() / "Tle" / "update.txt";
  const zen::TReplaceOutcome outcome = zen::ReplaceElementFile(target, answer);
  Require(outcome.replaced && outcome.answer.valid == count.valid && !outcome.backupKept,
          "a sound answer replaces no file");
  std::error_code ec;
  Require(std::filesystem::file_size(target, ec) == answer.size(), "the target holds the answer");
  std::filesystem::remove(target, ec);
  return 0;
}
