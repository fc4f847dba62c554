// The fixed headings of the results tables and the labels of the information tables.
#include "app/grid_headings.h"

namespace zen {

// The last column of each results table holds the catalogue number, kept out of sight.
QStringList PassesHeadings() {
  return {"Event date/time", "Sat", "Azm", "Elev", "Range", "Sun azm", "Sun elev", ""};
}

std::vector<int> PassesColumnWidths() {
  return {104, 106, 50, 50, 50, 50, 77, 2};
}

QStringList FlaresHeadings() {
  return {"Event date/time", "Sat",     "Azm",      "Elev", "Range", "A", "D",
          "Fl. Ang.",        "Sun azm", "Sun elev", ""};
}

std::vector<int> FlaresColumnWidths() {
  return {104, 32, 50, 50, 50, 14, 14, 46, 50, 80, 3};
}

QStringList OrbitLabels() {
  return {"Name",
          "NORAD #",
          "COSPAR designator",
          "Element number",
          "Epoch",
          "Orbit # at Epoch",
          "Inclination",
          "RA of A. Node",
          "Eccentricity",
          "Argument of Perigee",
          "Revs per day",
          "Period",
          "Semi-major axis",
          "Perigee / Apogee",
          "Mean anomaly",
          "BStar (drag term)",
          "Propagation model"};
}

QStringList LiveLabels() {
  return {"Name", "Lon",        "Lat",        "Alt (km)",   "Azm",       "Elev",      "RA",
          "Decl", "Range (km)", "RRt (km/s)", "Vel (km/s)", "Direction", "Eclipse",   "",
          "Sun",  "Azm",        "Elev",       "Lon",        "Lat",       "Range (km)"};
}

}  // namespace zen
