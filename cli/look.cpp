// The look command: one line per time step with the satellite's sub-point, look angles,
// range, range rate, topocentric right ascension and declination, shadow state, and the
// Sun's azimuth and elevation, for a site given on the command line; or the look angles and
// places of the Moon or the Sun; with J2000 right ascension and declination on request.
#include "cli/look.h"

#include "cli/command_output.h"
#include "cli/element_file.h"
#include "cli/fixed_text.h"
#include "cli/option_words.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/catalog.h"
#include "core/observer.h"
#include "core/propagator.h"
#include "core/sun.h"
#include "core/timescale.h"
#include "sky/sky_site.h"

namespace zen::cli {

namespace {

constexpr const char* kName = "zenarith look";
constexpr int64_t kDefaultStepSeconds = 60;
// More lines than this is a mistyped period or step, not a look at the sky.
constexpr int64_t kMaxLines = 10000000;
constexpr double kSecondsPerDay = 86400.0;

enum class TLookBody { None, Moon, Sun };

struct TLookOptions {
  std::string file;
  TLookBody body = TLookBody::None;
  bool j2000 = false;
  std::string satellite;  // as typed
  int64_t satelliteNumber = -1;
  bool haveSite = false;
  double latitudeDeg = 0.0;
  double longitudeDeg = 0.0;
  double altitudeM = 0.0;
  bool haveFrom = false;
  bool haveTo = false;
  double fromJd = 0.0;
  double toJd = 0.0;
  int64_t stepSeconds = kDefaultStepSeconds;
};

// Returns an error text, or an empty one when the options are sound.
std::string ParseOptions(const std::vector<std::string>& args, TLookOptions& o) {
  bool haveFile = false;
  bool haveSatellite = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    std::string value;
    bool hasValue = false;
    if (word.rfind("--", 0) != 0) {
      if (haveFile) return "only one element file may be given";
      o.file = word;
      haveFile = true;
      continue;
    }
    hasValue = TakeOptionValue(args, i, word, value);
    if (word != "--sat" && word != "--site" && word != "--from" && word != "--to" &&
        word != "--step" && word != "--body" && word != "--frame") {
      return "unknown option " + word;
    }
    if (!hasValue) return word + " needs a value";
    if (word == "--sat") {
      if (!ParseCatalogNumber(value, o.satelliteNumber)) {
        return "--sat needs a catalogue number";
      }
      o.satellite = value;
      haveSatellite = true;
    } else if (word == "--body") {
      if (value == "moon") {
        o.body = TLookBody::Moon;
      } else if (value == "sun") {
        o.body = TLookBody::Sun;
      } else {
        return "--body needs moon or sun, not " + value;
      }
    } else if (word == "--frame") {
      if (value != "date" && value != "j2000") return "--frame needs date or j2000, not " + value;
      o.j2000 = value == "j2000";
    } else if (word == "--site") {
      TSiteWords site;
      const std::string problem = ParseSiteWords(value, site);
      if (!problem.empty()) return problem;
      o.latitudeDeg = site.latitudeDeg;
      o.longitudeDeg = site.longitudeDeg;
      o.altitudeM = site.altitudeM;
      o.haveSite = true;
    } else if (word == "--from" || word == "--to") {
      double& jd = word == "--from" ? o.fromJd : o.toJd;
      const std::string problem = ParseUtcOption(word, value, jd);
      if (!problem.empty()) return problem;
      (word == "--from" ? o.haveFrom : o.haveTo) = true;
    } else {
      if (!ParseWhole(value, o.stepSeconds) || o.stepSeconds <= 0) {
        return "--step needs a whole number of seconds, more than 0";
      }
    }
  }
  if (o.body != TLookBody::None) {
    if (haveFile) return "--body takes no element file";
    if (haveSatellite) return "--body and --sat exclude each other";
  } else {
    if (!haveFile) return "no element file given";
    if (o.satelliteNumber < 0) return "--sat is needed";
  }
  if (!o.haveSite) return "--site is needed";
  if (!o.haveFrom || !o.haveTo) return "--from and --to are needed";
  if (o.toJd < o.fromJd) return "--to must not be before --from";
  if ((o.body != TLookBody::None || o.j2000) &&
      !(SkyDateAccepted(o.fromJd) && SkyDateAccepted(o.toJd))) {
    return std::string(o.body != TLookBody::None ? "--body" : "--frame j2000") +
           " takes moments from 1950-01-01 to 2100-12-31 only";
  }
  return {};
}

// A blank, then the value right-aligned; no "-" on a value that rounds to zero.
void AppendColumn(std::string& line, double value, int width, int decimals) {
  line += ' ';
  AppendFixed(line, value, width, decimals, true);
}

// Longitude in (-180, 180] from a sub-point longitude in [0, 2pi).
double EastLongitudeDeg(double longitude) {
  const double deg = Degrees(longitude);
  return deg > 180.0 ? deg - 360.0 : deg;
}

std::string HeaderLine(const TLookOptions& o) {
  std::string header;
  if (o.body == TLookBody::None) {
    header = "date       time       lat_deg   lon_deg     alt_km   az_deg   el_deg   range_km"
             " rate_km_s    ra_deg  dec_deg eclipse sun_az_deg sun_el_deg";
  } else {
    header = "date       time         az_deg   el_deg      range_km rate_km_s    ra_deg  dec_deg";
    if (o.body == TLookBody::Moon) header += " phase_deg illuminated";
  }
  if (o.j2000) header += " ra_j2000_deg dec_j2000_deg";
  return header;
}

// The J2000 columns: astrometric, the geometric direction from the site.
void AppendJ2000(std::string& line, double ra, double dec) {
  AppendColumn(line, Degrees(ra), 12, 4);
  AppendColumn(line, Degrees(dec), 13, 4);
}

bool Finite(const TVector& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void AppendStep(std::string& line, TPropagator& propagator, TSky* sky, const TGeodetic& site,
                double jd) {
  line = DateRecToText(JulianToDateRec(jd));
  TVector pos;
  TVector vel;
  TPropagationStatus status = propagator.Propagate(pos, vel, jd);
  if (status == TPropagationStatus::Ok) {
    TPropagator::ScaleStateToKm(pos, vel);
    if (!Finite(pos) || !Finite(vel)) status = TPropagationStatus::NonFinite;
  }
  if (status != TPropagationStatus::Ok) {
    line += " model breakdown: ";
    line += PropagationStatusText(status);
    return;
  }
  const TGeodetic under = EciToGeodetic(pos, jd);
  const TLookAngles look = LookAngles(pos, vel, site, jd);
  const TLookAngles radec = TopocentricRaDec(pos, vel, site, jd);
  const TVector sun = SunPosition(jd);
  const TLookAngles sunLook = LookAngles(sun, TVector{}, site, jd);
  AppendColumn(line, Degrees(under.latitude), 9, 4);
  AppendColumn(line, EastLongitudeDeg(under.longitude), 9, 4);
  AppendColumn(line, under.altitude, 10, 3);
  AppendColumn(line, Degrees(look.first), 8, 3);
  AppendColumn(line, Degrees(look.second), 8, 3);
  AppendColumn(line, look.third, 10, 3);
  AppendColumn(line, look.fourth, 9, 4);
  AppendColumn(line, Degrees(radec.first), 9, 4);
  AppendColumn(line, Degrees(radec.second), 8, 4);
  line += "       ";
  line += static_cast<char>('0' + EclipseState(pos, sun));
  AppendColumn(line, Degrees(sunLook.first), 10, 3);
  AppendColumn(line, Degrees(sunLook.second), 10, 3);
  if (sky != nullptr && sky->At(jd)) {
    double ra = 0.0, dec = 0.0;
    J2000RaDecInFrame(*sky, ObserverFrameAt(site, jd), pos, ra, dec);
    AppendJ2000(line, ra, dec);
  }
}

// A body's line: look angles, range, range rate, right ascension and declination of date as
// a satellite's, the Moon's phase, and the J2000 place on request.
void AppendBodyStep(std::string& line, TSky& sky, const TLookOptions& o, const TGeodetic& site,
                    double jd) {
  line = DateRecToText(JulianToDateRec(jd));
  sky.At(jd);  // the moments were checked against the sky's dates
  const TObserverFrame frame = ObserverFrameAt(site, jd);
  const bool moon = o.body == TLookBody::Moon;
  const TBodyView view =
      BodyView(sky, frame, moon ? sky.Moon() : sky.Sun(), moon ? kMoonRadiusKm : kSunRadiusKm);
  AppendColumn(line, Degrees(view.look.first), 10, 3);
  AppendColumn(line, Degrees(view.look.second), 8, 3);
  AppendColumn(line, view.look.third, 13, 3);
  AppendColumn(line, view.look.fourth, 9, 4);
  AppendColumn(line, Degrees(view.raDate), 9, 4);
  AppendColumn(line, Degrees(view.decDate), 8, 4);
  if (moon) {
    const TMoonPhase phase = MoonPhase(sky, frame, 0.0);
    AppendColumn(line, Degrees(phase.phaseAngle), 9, 3);
    AppendColumn(line, phase.illuminated, 11, 4);
  }
  if (o.j2000) AppendJ2000(line, view.raJ2000, view.decJ2000);
}

}  // namespace

const TCommandHelp& LookHelp() {
  static const TCommandHelp help{
      "look",
      "print a satellite's sub-point, look angles, shadow and the Sun, or the Moon's or the "
      "Sun's look angles, seen from a site",
      {"FILE --sat NUMBER --site LAT,LON[,ALT_M] --from TIME --to TIME [--step SECONDS] "
       "[--frame date|j2000]",
       "--body moon|sun --site LAT,LON[,ALT_M] --from TIME --to TIME [--step SECONDS] "
       "[--frame date|j2000]"},
      "Prints, one line per step, a satellite's sub-point, look angles, range, range rate, "
      "topocentric right ascension and declination and shadow state, and the Sun's azimuth and "
      "elevation, seen from a site; with --body, the Moon's or the Sun's look angles, range, "
      "range rate and topocentric right ascension and declination instead, and the Moon's "
      "phase.",
      {
          kElementFileHelp,
          {"--sat NUMBER", "the satellite's catalogue number (digits or Alpha-5)"},
          {"--body moon|sun", "the Moon or the Sun instead of a satellite; no FILE, no --sat"},
          kSiteOptionHelp,
          {"--from TIME", "the first moment, UTC"},
          {"--to TIME", "the last moment, UTC, not before --from"},
          {"--step SECONDS", "whole seconds between lines, more than 0 (60)"},
          {"--frame date|j2000",
           "date: right ascension and declination of date only (date); j2000 adds J2000's"},
          kHelpOptionHelp,
      },
      {kTimeNote, kSiteNote,
       "Columns: date, time, lat_deg, lon_deg, alt_km, az_deg, el_deg, range_km, rate_km_s, "
       "ra_deg, dec_deg, eclipse (0 sunlit, 1 half-shadow, 2 shadow), sun_az_deg, sun_el_deg.",
       "Columns with --body: date, time, az_deg, el_deg, range_km, rate_km_s, ra_deg, dec_deg; "
       "for the Moon also phase_deg (the angle at the Moon between the Sun and the site, 0 full, "
       "180 new) and illuminated (the lit fraction of the disc, 0 to 1).",
       "--frame j2000 adds ra_j2000_deg and dec_j2000_deg: the astrometric right ascension and "
       "declination in the J2000 frame of star catalogues, the geometric direction from the "
       "site without refraction; ra_deg and dec_deg stay those of the models' frame of date. "
       "--body and --frame j2000 take moments from 1950-01-01 to 2100-12-31."}};
  return help;
}

int RunLook(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (AsksForHelp(args)) return AnswerHelp(LookHelp(), out, err);
  TLookOptions options;
  const std::string problem = ParseOptions(args, options);
  if (!problem.empty()) {
    err << kName << ": " << problem << "\n" << UsageLines(LookHelp());
    return 2;
  }
  const int64_t periodSeconds = std::llround((options.toJd - options.fromJd) * kSecondsPerDay);
  if (periodSeconds / options.stepSeconds >= kMaxLines) {
    err << kName << ": too many steps; use a larger --step or a shorter period\n"
        << UsageLines(LookHelp());
    return 2;
  }

  const TGeodetic site =
      ObserverFromSite(options.latitudeDeg, options.longitudeDeg, options.altitudeM);
  std::unique_ptr<TSky> sky;
  if (options.body != TLookBody::None || options.j2000) sky = std::make_unique<TSky>();
  std::string line;
  line.reserve(200);
  if (options.body != TLookBody::None) {
    TOutputLines output(kName, out, err);
    if (!output.Write(HeaderLine(options))) return 1;
    for (int64_t seconds = 0; seconds <= periodSeconds; seconds += options.stepSeconds) {
      const double jd = options.fromJd + static_cast<double>(seconds) / kSecondsPerDay;
      AppendBodyStep(line, *sky, options, site, jd);
      if (!output.Write(line)) return 1;
    }
    return output.Finish() ? 0 : 1;
  }

  auto catalog = std::make_unique<TCatalog>();
  int count = 0;
  if (!ReadCommandElementFile(kName, options.file, *catalog, count, err)) return 1;
  int slot = 1;
  for (; slot <= count; ++slot) {
    if (catalog->CatalogElements[slot].number == options.satelliteNumber) break;
  }
  if (slot > count) {
    err << kName << ": no set with catalogue number " << options.satellite << " in "
        << options.file;
    err << "\n";
    return 1;
  }

  TPropagator propagator;
  const TCatalogSet& set = catalog->CatalogElements[slot];
  if (!set.decodable) {
    err << kName << ": set " << options.satellite << ": " << set.decodeError << "\n";
    return 1;
  }
  propagator.LoadElements(set.elements);
  WarnOfElementAge(kName, {{catalog->CatalogNames[slot], set.elements.epochJulian}}, options.fromJd,
                   err);

  TOutputLines output(kName, out, err);
  if (!output.Write(HeaderLine(options))) return 1;
  // Each moment is from + k step (no running sum), so long runs do not drift.
  for (int64_t seconds = 0; seconds <= periodSeconds; seconds += options.stepSeconds) {
    const double jd = options.fromJd + static_cast<double>(seconds) / kSecondsPerDay;
    AppendStep(line, propagator, sky.get(), site, jd);
    if (!output.Write(line)) return 1;
  }
  return output.Finish() ? 0 : 1;
}

}  // namespace zen::cli
