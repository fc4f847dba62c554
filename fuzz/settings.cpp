// Settings files: the INI reader under the named settings, the main file, the sources list of
// element updates and the notes, all of which are files a user may edit by hand.
#include "tracking/settings.h"

#include <optional>

#include "core/file_access.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_support.h"
#include "tracking/ini_file.h"
#include "tracking/notes.h"
#include "tracking/update_sources.h"

using zen::fuzz::Require;

namespace {

// The sources of a list file; nothing for one of blanks alone, the one file of text the list
// refuses.
std::optional<std::vector<zen::TUpdateSource>> SourcesOrBlank(const std::filesystem::path& file) {
  try {
    return zen::ReadUpdateSources(file);
  } catch (const zen::TFileError& error) {
    Require(error.Reason() == "is empty", "a list of text is refused only when blank");
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto file = zen::fuzz::ScratchFile("Setup/fuzz.ini", zen::fuzz::AsText(data, size));

  const zen::TIniFile ini = zen::TIniFile::Read(file);
  for (const std::string& section : ini.SectionNames()) {
    ini.ReadString(section, "File", "");
    ini.ReadInteger(section, "Level", 7);
  }

  // Every value is held to its range, whatever the file says.
  const zen::TSettings settings = zen::ReadSettings(file);
  const zen::TSite& site = settings.site;
  Require(site.latitude >= -90.0 && site.latitude <= 90.0 && site.longitude >= -180.0 &&
              site.longitude <= 180.0 && site.altitude >= -120000.0 && site.altitude <= 100000.0,
          "the site is on the Earth");
  Require(zen::IsValidUtf8(site.name) && zen::Utf8Length(site.name) <= 25 &&
              zen::IsValidUtf8(site.sign) && zen::Utf8Length(site.sign) <= 15 &&
              zen::IsValidUtf8(settings.tleFile),
          "texts are UTF-8 within their lengths");
  const zen::TPredictionOptions& p = settings.prediction;
  Require(p.level >= 0 && p.level <= 4 && p.periodLength >= 1 && p.periodLength <= 99 &&
              p.maxFlareAngleDeg >= 0.1 && p.maxFlareAngleDeg <= 4.0,
          "the prediction options are in range");
  for (const std::string& id : settings.trackedIds) {
    Require(!id.empty() && id.find(',') == std::string::npos, "a tracked id is one word");
  }

  // A save loses nothing: the file written back, and the settings written into it, read as
  // they were read (the save chooses the "OnlySats" mark itself).
  const auto again = zen::fuzz::Scratch() / "Setup" / "again.ini";
  ini.Save(again);
  Require(zen::ReadSettings(again) == settings && SourcesOrBlank(again) == SourcesOrBlank(file),
          "a saved file reads as before");
  zen::WriteSettings(again, settings, zen::TSaveChoice::SatellitesAndOptions);
  zen::TSettings expected = settings;
  expected.onlySats = false;
  Require(zen::ReadSettings(again) == expected, "saved settings read as they were");

  const zen::TMainSettings main = zen::ReadMainSettings(file, 2.0);
  Require(main.utcOffsetHours >= -12.0 && main.utcOffsetHours <= 12.0, "the offset is in range");
  zen::WriteMainSettings(again, main);
  Require(zen::ReadMainSettings(again, 5.0) == main, "the main settings read as saved");

  const std::optional<std::vector<zen::TUpdateSource>> listed = SourcesOrBlank(file);
  const std::vector<zen::TUpdateSource> sources =
      listed.value_or(std::vector<zen::TUpdateSource>{});
  // A list without a problem is one the update dialog saves as it is.
  if (zen::SourceListProblem(sources).empty()) {
    zen::WriteUpdateSources(again, sources);
    Require(zen::ReadUpdateSources(again) == sources, "a sound sources list reads as saved");
  }
  for (const zen::TUpdateSource& source : sources) {
    zen::FetchDue(source, 1780000000, false);
    zen::FetchTimeText(source.lastFetchUnix);
  }

  const std::vector<std::string> notes = zen::ZapodawajNotes(file);
  for (const std::string& line : notes) Require(zen::IsValidUtf8(line), "notes are UTF-8");
  if (!notes.empty()) {
    const auto saved = zen::fuzz::Scratch() / "Notes" / "00005.txt";
    std::filesystem::create_directories(saved.parent_path());
    zen::SaveNotes(saved, notes);
    Require(zen::ZapodawajNotes(saved) == notes, "saved notes read as they were");
  }
  return 0;
}
