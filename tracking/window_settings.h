// Where and how large the main window was, kept in the "Window" section of the main settings
// file, and where it opens again on the screens present now.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

namespace zen {

struct TWindowRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TWindowRect&) const = default;
};

struct TWindowSettings {
  bool kept = false;   // false: no usable rectangle in the file (first start, older files)
  TWindowRect normal;  // the client rectangle, without the frame, when neither maximised nor
                       // full screen
  bool maximized = false;
  bool fullScreen = false;
  bool operator==(const TWindowSettings&) const = default;
};

// The smallest and largest size and the largest distance from the origin a kept rectangle may
// have; anything else is not kept.
inline constexpr int kKeptMinWidth = 800;
inline constexpr int kKeptMinHeight = 600;
inline constexpr int kKeptLimit = 100000;

// The section "Window": "Left", "Top", "Width", "Height", "Maximized", "FullScreen". A missing
// file or section reads as not kept; the rectangle is kept only when its four keys are whole
// numbers in range (sizes from 800 x 600 to 100000, positions within +-100000). The two flags
// are read one by one, a missing or damaged one being false.
TWindowSettings ReadWindowSettings(const std::filesystem::path& file);
// Writes the section, keeping every other line of the file; a rectangle that is not kept is
// written with a size of 0, so that it reads back as not kept. Throws TFileError.
void WriteWindowSettings(const std::filesystem::path& file, const TWindowSettings& settings);

// How much of the rectangle's top strip, where the title bar is, must lie on one screen for
// the kept place to be used.
inline constexpr int kTitleStripWidth = 100;
inline constexpr int kTitleStripHeight = 30;

// The share of each side of the screen a window takes at its first start.
inline constexpr int kFirstStartShareNumerator = 2;
inline constexpr int kFirstStartShareDenominator = 3;

// Where the window opens. screens: the available geometry of each present screen; primary: the
// index of the primary one.
// The kept rectangle is used when at least 100 x 30 pixels of its top 30 rows lie on one present
// screen (the one holding most of them); its size is then held to that screen's available size,
// never below minWidth x minHeight, and where a side had to shrink the window is moved into the
// screen along it. Otherwise (not kept, or on no present screen) the kept size, or when not
// kept two thirds of the primary screen's along each side, is held the same way to the primary
// screen and centred on it. With no screens at all the kept size, or minWidth x minHeight, is
// given at the origin.
TWindowRect PlaceWindow(const TWindowSettings& settings, const std::vector<TWindowRect>& screens,
                        size_t primary, int minWidth, int minHeight);

}  // namespace zen
