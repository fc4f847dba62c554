// A command's standard output: lines written in order, and a failed write reported as an error.
#pragma once

#include <ostream>
#include <string_view>

namespace zen::cli {

// Writes a command's lines to out. The first write that fails (a full disk, a closed pipe) is
// said once on err as "<command>: cannot write the output: <reason>", and every later write is
// skipped, so a command can stop at once instead of computing lines nobody receives.
class TOutputLines {
 public:
  TOutputLines(const char* command, std::ostream& out, std::ostream& err);

  // Writes line and a line end; false once any write has failed.
  bool Write(std::string_view line);
  // Writes text as it is, its line ends included; false once any write has failed.
  bool WriteText(std::string_view text);
  // Flushes what is buffered; false when anything written was lost.
  bool Finish();
  bool Failed() const { return failed_; }

 private:
  bool Check();

  const char* command_;
  std::ostream& out_;
  std::ostream& err_;
  bool failed_ = false;
};

}  // namespace zen::cli
