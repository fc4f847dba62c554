// The element sources that an update fetches: a name, an address and the element file of the
// "Tle" folder each one refreshes, with the time of its last successful fetch.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zen {

// The list's file, relative to the program folder. Not an ".ini" name, so the settings
// dialogs, which list "Setup/*.ini", never offer it as a settings file.
inline constexpr const char* kUpdateSourcesFile = "Setup/sources.set";
// The folder the sources' files lie in, relative to the program folder.
inline constexpr const char* kUpdateFolder = "Tle";
// A source fetched successfully is not fetched again for this long unless the user insists.
inline constexpr int64_t kFetchPauseSeconds = 2 * 60 * 60;

// What a source's answer is: element sets for the "Tle" folder, or the list of the satellites'
// radio transmitters (JSON) that the station reads from "Data/transmitters.json".
enum class TSourceKind { Elements, Transmitters };
// The file a transmitters source refreshes, in the "Data" folder.
inline constexpr const char* kTransmittersSourceFile = "transmitters.json";

struct TUpdateSource {
  std::string name;
  std::string url;
  std::string file;           // a file name inside the source's folder, e.g. "stations.csv"
  int64_t lastFetchUnix = 0;  // seconds since 1970 (UTC) of the last successful fetch; 0 never
  TSourceKind kind = TSourceKind::Elements;

  friend bool operator==(const TUpdateSource&, const TUpdateSource&) = default;
};

// The shipped list: the public element service's groups for stations, visual, amateur,
// weather and navigation satellites, as mean-elements messages in CSV, and the public
// transmitter database's list.
std::vector<TUpdateSource> DefaultUpdateSources();

// The sources of the file, in file order; the shipped list when nothing is there (a symbolic
// link that leads nowhere included). A section is a source ("[name]" with URL=, File= and
// LastFetch= "yyyy-mm-dd hh:mm:ss" UTC); a LastFetch that does not read as such a moment counts
// as never. "Kind=Transmitters" marks the transmitter list; without it a source fetches element
// sets. A file of comments alone lists no sources: the dialog writes one when every source is
// removed. Throws TFileError naming the file for one that is there and cannot be read (a
// folder, a device, a named pipe, larger than kSettingsFileLimit) and for one that holds
// nothing but blanks ("FILE is empty"): neither may be taken for a list and written over.
std::vector<TUpdateSource> ReadUpdateSources(const std::filesystem::path& file);
// Writes the whole list (the folder is made when missing). Throws TFileError.
void WriteUpdateSources(const std::filesystem::path& file,
                        const std::vector<TUpdateSource>& sources);
// Keeps the time of a successful fetch of the named source in the file, leaving every other
// line as it is; a missing file is first written with the shipped list. A source the file no
// longer lists is not added. Throws TFileError, without writing, for a file ReadUpdateSources
// refuses, and when the write fails.
void RecordFetchTime(const std::filesystem::path& file, const std::string& name, int64_t unix);

// The folder a source's file lies in, relative to the program folder: "Tle" or "Data".
const char* SourceFolder(TSourceKind kind);
// "Tle/stations.csv", "Data/transmitters.json".
std::string SourceFileShown(const TUpdateSource& source);

// What is wrong with one source, or an empty text: a name of 1..40 characters without
// brackets or control characters, an http or https address with a host, and a plain file name
// for the "Tle" folder (no folders, not a backup or temporary name); a transmitters source
// refreshes "transmitters.json". Neither the address nor the file may hold control characters.
// The texts of the source appear in the answer as PrintableText shows them.
std::string SourceProblem(const TUpdateSource& source);
// The first problem of the list: a source's own, or two sources with one name (names match
// without regard to case) or one file.
std::string SourceListProblem(const std::vector<TUpdateSource>& sources);
// The source of that name (any case), or nullptr.
const TUpdateSource* FindSource(const std::vector<TUpdateSource>& sources, std::string_view name);

// Whether the source may be fetched at nowUnix: never fetched, fetched at least
// kFetchPauseSeconds ago, a fetch time in the future (a clock set back), or insist.
bool FetchDue(const TUpdateSource& source, int64_t nowUnix, bool insist);

// "2026-05-30 21:15:30" (UTC) for seconds since 1970; "never" for 0.
std::string FetchTimeText(int64_t unix);
// The text back to seconds; false unless it is such a moment.
bool ParseFetchTime(std::string_view text, int64_t& unix);

}  // namespace zen
