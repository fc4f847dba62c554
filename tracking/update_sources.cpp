// The element sources that an update fetches: a name, an address and the element file of the
// "Tle" folder each one refreshes, with the time of its last successful fetch.
#include "tracking/update_sources.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <system_error>

#include "core/file_access.h"
#include "core/numeric.h"
#include "tracking/ini_file.h"
#include "tracking/text_file.h"

namespace zen {

namespace {

constexpr size_t kLongestName = 40;

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && SameTextIgnoringCase(text.substr(text.size() - end.size()), end);
}

// The host part of an http or https address, or an empty text.
std::string_view AddressHost(std::string_view url) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (url.size() > scheme.size() && SameTextIgnoringCase(url.substr(0, scheme.size()), scheme)) {
      std::string_view rest = url.substr(scheme.size());
      return rest.substr(0, rest.find_first_of("/?#"));
    }
  }
  return {};
}

bool TwoDigitsAt(std::string_view text, size_t at, int& value) {
  if (text[at] < '0' || text[at] > '9' || text[at + 1] < '0' || text[at + 1] > '9') return false;
  value = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return true;
}

// The list's file as read; nothing when no file is there. Throws TFileError for a file that
// cannot be read or holds nothing but blanks.
std::optional<TIniFile> ReadSourcesFile(const std::filesystem::path& file) {
  try {
    TIniFile ini = TIniFile::ReadExisting(file);
    if (ini.Blank()) throw TFileError(file.string() + " is empty", 0, "is empty");
    return ini;
  } catch (const TFileError& error) {
    if (error.Code() == ENOENT) return std::nullopt;
    throw;
  }
}

// Whether the text holds a byte a terminal would act on (PrintableText shows it otherwise).
bool HoldsControls(std::string_view text) {
  return PrintableText(text) != text;
}

}  // namespace

std::vector<TUpdateSource> DefaultUpdateSources() {
  auto group = [](const char* name) {
    TUpdateSource s;
    s.name = name;
    s.url =
        std::string("https://celestrak.org/NORAD/elements/gp.php?GROUP=") + name + "&FORMAT=csv";
    s.file = std::string(name) + ".csv";
    return s;
  };
  TUpdateSource transmitters;
  transmitters.name = "transmitters";
  transmitters.url = "https://db.satnogs.org/api/transmitters/?format=json";
  transmitters.file = kTransmittersSourceFile;
  transmitters.kind = TSourceKind::Transmitters;
  return {group("stations"), group("visual"),  group("amateur"),
          group("weather"),  group("gnss"),    transmitters};
}

std::vector<TUpdateSource> ReadUpdateSources(const std::filesystem::path& file) {
  const std::optional<TIniFile> read = ReadSourcesFile(file);
  if (!read) return DefaultUpdateSources();
  const TIniFile& ini = *read;
  std::vector<TUpdateSource> sources;
  for (const std::string& name : ini.SectionNames()) {
    TUpdateSource s;
    s.name = name;
    s.url = ini.ReadString(name, "URL", "");
    s.file = ini.ReadString(name, "File", "");
    if (SameTextIgnoringCase(ini.ReadString(name, "Kind", ""), "Transmitters")) {
      s.kind = TSourceKind::Transmitters;
    }
    if (!ParseFetchTime(ini.ReadString(name, "LastFetch", ""), s.lastFetchUnix)) {
      s.lastFetchUnix = 0;
    }
    sources.push_back(std::move(s));
  }
  return sources;
}

void WriteUpdateSources(const std::filesystem::path& file,
                        const std::vector<TUpdateSource>& sources) {
  std::error_code ec;
  if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path(), ec);
  std::vector<std::string> lines = {
      "; Element sources of \"Update elements...\" and \"zenarith update\": each [name] is",
      "; fetched from URL into File of the Tle folder (Kind=Transmitters: the transmitter list",
      "; Data/transmitters.json). LastFetch (UTC) is the last successful fetch; a source is not",
      "; fetched again within two hours of it unless asked to."};
  for (const TUpdateSource& s : sources) {
    lines.push_back("");
    lines.push_back("[" + s.name + "]");
    lines.push_back("URL=" + s.url);
    lines.push_back("File=" + s.file);
    if (s.kind == TSourceKind::Transmitters) lines.push_back("Kind=Transmitters");
    if (s.lastFetchUnix != 0) lines.push_back("LastFetch=" + FetchTimeText(s.lastFetchUnix));
  }
  WriteTextLines(file, lines);
}

void RecordFetchTime(const std::filesystem::path& file, const std::string& name, int64_t unix) {
  std::optional<TIniFile> ini = ReadSourcesFile(file);
  if (!ini) {
    WriteUpdateSources(file, DefaultUpdateSources());
    ini = TIniFile::ReadExisting(file);
  }
  // A section of a LastFetch alone would be a source without an address, which would stop
  // every later update of the list.
  bool listed = false;
  for (const std::string& section : ini->SectionNames()) {
    listed = listed || SameTextIgnoringCase(section, name);
  }
  if (!listed) return;
  ini->WriteString(name, "LastFetch", FetchTimeText(unix));
  ini->Save(file);
}

const char* SourceFolder(TSourceKind kind) {
  return kind == TSourceKind::Transmitters ? "Data" : kUpdateFolder;
}

std::string SourceFileShown(const TUpdateSource& source) {
  return std::string(SourceFolder(source.kind)) + "/" + source.file;
}

std::string SourceProblem(const TUpdateSource& s) {
  const std::string label =
      s.name.empty() ? std::string("A source") : "Source \"" + PrintableText(s.name) + "\"";
  if (s.name.empty()) return "A source has no name.";
  if (s.name.size() > kLongestName || TrimBlanks(s.name) != s.name) {
    return label + ": a name is 1 to 40 characters without blanks at its ends.";
  }
  if (HoldsControls(s.name) || s.name.find_first_of("[]") != std::string::npos) {
    return label + ": a name may not hold brackets or control characters.";
  }
  const std::string_view host = AddressHost(s.url);
  if (host.empty() || s.url.find(' ') != std::string::npos || HoldsControls(s.url)) {
    return label + ": the address must be an http:// or https:// address with a host.";
  }
  if (s.file.empty() || s.file == "." || s.file == ".." ||
      s.file.find_first_of("/\\") != std::string::npos || TrimBlanks(s.file) != s.file ||
      HoldsControls(s.file)) {
    return label + ": the file must be a plain file name inside the Tle folder.";
  }
  if (s.kind == TSourceKind::Transmitters && s.file != kTransmittersSourceFile) {
    return label + ": a transmitter list refreshes " + kTransmittersSourceFile + ".";
  }
  for (std::string_view end : {".bak", ".part", ".tmp"}) {
    if (EndsWith(s.file, end)) {
      return label + ": the file may not end in " + std::string(end) +
             ", which updates use for their own copies.";
    }
  }
  return {};
}

std::string SourceListProblem(const std::vector<TUpdateSource>& sources) {
  for (size_t i = 0; i < sources.size(); ++i) {
    if (std::string problem = SourceProblem(sources[i]); !problem.empty()) return problem;
    for (size_t j = 0; j < i; ++j) {
      if (SameTextIgnoringCase(sources[i].name, sources[j].name)) {
        return "Two sources are named \"" + PrintableText(sources[i].name) + "\".";
      }
      // Case counts here as the file system counts it.
      if (SourceFileShown(sources[i]) == SourceFileShown(sources[j])) {
        return "Sources \"" + PrintableText(sources[j].name) + "\" and \"" +
               PrintableText(sources[i].name) + "\" both refresh " +
               PrintableText(SourceFileShown(sources[i])) + ".";
      }
    }
  }
  return {};
}

const TUpdateSource* FindSource(const std::vector<TUpdateSource>& sources, std::string_view name) {
  for (const TUpdateSource& s : sources) {
    if (SameTextIgnoringCase(s.name, name)) return &s;
  }
  return nullptr;
}

bool FetchDue(const TUpdateSource& source, int64_t nowUnix, bool insist) {
  if (insist || source.lastFetchUnix == 0 || source.lastFetchUnix > nowUnix) return true;
  return nowUnix - source.lastFetchUnix >= kFetchPauseSeconds;
}

std::string FetchTimeText(int64_t unix) {
  if (unix == 0) return "never";
  using namespace std::chrono;
  const sys_seconds moment{seconds{unix}};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss<seconds> time{moment - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

bool ParseFetchTime(std::string_view text, int64_t& unix) {
  // yyyy-mm-dd hh:mm:ss
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return false;
  }
  int century = 0, yy = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!TwoDigitsAt(text, 0, century) || !TwoDigitsAt(text, 2, yy) || !TwoDigitsAt(text, 5, month) ||
      !TwoDigitsAt(text, 8, day) || !TwoDigitsAt(text, 11, hour) ||
      !TwoDigitsAt(text, 14, minute) || !TwoDigitsAt(text, 17, second)) {
    return false;
  }
  using namespace std::chrono;
  const year_month_day date{year{century * 100 + yy}, std::chrono::month{unsigned(month)},
                            std::chrono::day{unsigned(day)}};
  if (!date.ok() || hour > 23 || minute > 59 || second > 59) return false;
  const sys_seconds moment = sys_days{date} + hours{hour} + minutes{minute} + seconds{second};
  unix = moment.time_since_epoch().count();
  return unix > 0;
}

}  // namespace zen
