// A command's standard output: lines written in order, and a failed write reported as an error.
#include "cli/command_output.h"

#include <cerrno>
#include <cstring>

namespace zen::cli {

TOutputLines::TOutputLines(const char* command, std::ostream& out, std::ostream& err)
    : command_(command), out_(out), err_(err) {}

bool TOutputLines::Write(std::string_view line) {
  if (failed_) return false;
  // errno is cleared first so that the reason given is the one of this write.
  errno = 0;
  out_ << line << '\n';
  return Check();
}

bool TOutputLines::WriteText(std::string_view text) {
  if (failed_) return false;
  errno = 0;
  out_ << text;
  return Check();
}

bool TOutputLines::Finish() {
  if (failed_) return false;
  errno = 0;
  out_.flush();
  return Check();
}

bool TOutputLines::Check() {
  if (out_) return true;
  const int code = errno;
  failed_ = true;
  err_ << command_
       << ": cannot write the output: " << (code != 0 ? std::strerror(code) : "the write failed")
       << "\n";
  return false;
}

}  // namespace zen::cli
