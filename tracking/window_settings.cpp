// Where and how large the main window was, and where it opens again.
#include "tracking/window_settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "tracking/ini_file.h"

namespace zen {

namespace {

constexpr const char* kSection = "Window";
constexpr int64_t kDamaged = std::numeric_limits<int64_t>::min();

// The key's whole number when it lies in [low, high], else nothing.
bool ReadIn(const TIniFile& ini, const char* key, int low, int high, int& into) {
  const int64_t value = ini.ReadInteger(kSection, key, kDamaged);
  if (value < low || value > high) return false;
  into = static_cast<int>(value);
  return true;
}

// The overlap of two rectangles; empty ones have a size of 0.
TWindowRect Overlap(const TWindowRect& a, const TWindowRect& b) {
  const int64_t left = std::max<int64_t>(a.x, b.x);
  const int64_t top = std::max<int64_t>(a.y, b.y);
  const int64_t right = std::min<int64_t>(int64_t{a.x} + a.width, int64_t{b.x} + b.width);
  const int64_t bottom = std::min<int64_t>(int64_t{a.y} + a.height, int64_t{b.y} + b.height);
  if (right <= left || bottom <= top) return {};
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
}

// The size held to the screen's, never below the least one.
int Held(int size, int screen, int least) {
  return std::max(std::min(size, screen), least);
}

}  // namespace

TWindowSettings ReadWindowSettings(const std::filesystem::path& file) {
  const TIniFile ini = TIniFile::Read(file);
  TWindowSettings s;
  TWindowRect r;
  s.kept = ReadIn(ini, "Left", -kKeptLimit, kKeptLimit, r.x) &&
           ReadIn(ini, "Top", -kKeptLimit, kKeptLimit, r.y) &&
           ReadIn(ini, "Width", kKeptMinWidth, kKeptLimit, r.width) &&
           ReadIn(ini, "Height", kKeptMinHeight, kKeptLimit, r.height);
  if (s.kept) s.normal = r;
  s.maximized = ini.ReadBool(kSection, "Maximized", false);
  s.fullScreen = ini.ReadBool(kSection, "FullScreen", false);
  return s;
}

void WriteWindowSettings(const std::filesystem::path& file, const TWindowSettings& s) {
  TIniFile ini = TIniFile::ReadToUpdate(file);
  const TWindowRect r = s.kept ? s.normal : TWindowRect{};
  ini.WriteInteger(kSection, "Left", r.x);
  ini.WriteInteger(kSection, "Top", r.y);
  ini.WriteInteger(kSection, "Width", r.width);
  ini.WriteInteger(kSection, "Height", r.height);
  ini.WriteBool(kSection, "Maximized", s.maximized);
  ini.WriteBool(kSection, "FullScreen", s.fullScreen);
  ini.Save(file);
}

TWindowRect PlaceWindow(const TWindowSettings& settings, const std::vector<TWindowRect>& screens,
                        size_t primary, int minWidth, int minHeight) {
  const TWindowRect& kept = settings.normal;
  if (settings.kept) {
    // The screen holding most of the title strip.
    const TWindowRect strip{kept.x, kept.y, kept.width, kTitleStripHeight};
    const TWindowRect* best = nullptr;
    int64_t bestArea = 0;
    for (const TWindowRect& screen : screens) {
      const TWindowRect on = Overlap(strip, screen);
      const int64_t area = int64_t{on.width} * on.height;
      if (on.width >= kTitleStripWidth && on.height >= kTitleStripHeight && area > bestArea) {
        best = &screen;
        bestArea = area;
      }
    }
    if (best != nullptr) {
      TWindowRect placed = kept;
      placed.width = Held(kept.width, best->width, minWidth);
      placed.height = Held(kept.height, best->height, minHeight);
      // A side that had to shrink lies within the screen along it.
      if (placed.width < kept.width) {
        placed.x =
            std::clamp(placed.x, best->x, std::max(best->x, best->x + best->width - placed.width));
      }
      if (placed.height < kept.height) {
        placed.y = std::clamp(placed.y, best->y,
                              std::max(best->y, best->y + best->height - placed.height));
      }
      return placed;
    }
  }
  if (primary >= screens.size()) {
    const int width = settings.kept ? kept.width : minWidth;
    const int height = settings.kept ? kept.height : minHeight;
    return {0, 0, std::max(width, minWidth), std::max(height, minHeight)};
  }
  const TWindowRect& screen = screens[primary];
  // A first start takes a share of the screen large enough to use it, leaving the desktop
  // around the window in view.
  const int width = settings.kept
                        ? kept.width
                        : static_cast<int>(int64_t{screen.width} * kFirstStartShareNumerator /
                                           kFirstStartShareDenominator);
  const int height = settings.kept
                         ? kept.height
                         : static_cast<int>(int64_t{screen.height} * kFirstStartShareNumerator /
                                            kFirstStartShareDenominator);
  TWindowRect placed;
  placed.width = Held(width, screen.width, minWidth);
  placed.height = Held(height, screen.height, minHeight);
  placed.x = screen.x + (screen.width - placed.width) / 2;
  placed.y = screen.y + (screen.height - placed.height) / 2;
  return placed;
}

}  // namespace zen
