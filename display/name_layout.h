// Satellite names that never cover one another: each name is given a box next to its symbol
// and is drawn only when that box is still free, first come first served in list order.
#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "display/canvas.h"

namespace zen {

// The pixels of an image already taken by names. One bit a pixel, a row of 64-bit words per
// image row, so a box is tested or taken a word at a time.
class TLabelSpace {
 public:
  TLabelSpace(int width, int height);

  // True when no pixel of box inside the image is taken; pixels outside are never taken.
  bool IsFree(const QRect& box) const;
  void Take(const QRect& box);

 private:
  int width_;
  int height_;
  int wordsPerRow_;
  std::vector<uint64_t> bits_;

  // Calls visit(word, mask) for every word a row of box (clipped to the image) touches.
  template <typename F>
  bool EachWord(const QRect& box, F visit) const;
};

// Where a name goes beside its symbol: to the right, or to the left when goesLeft says so.
// The map and the radar each have their own offsets and their own reason to go left.
struct TLabelRule {
  int raisePx;     // from the symbol's centre up to the name's top
  int rightGapPx;  // from the symbol's centre to the first column of a name on its right
  int leftGapPx;   // from the column after a name on its left to the symbol's centre
  int edge;        // the column the rule measures against: the map's right edge, the radar's
  bool (*goesLeft)(QPoint symbol, int widthPx, int edge);

  QRect Right(QPoint symbol, int widthPx, int heightPx) const {
    return QRect(symbol.x() + rightGapPx, symbol.y() - raisePx, widthPx, heightPx);
  }
  QRect Left(QPoint symbol, int widthPx, int heightPx) const {
    return QRect(symbol.x() - leftGapPx - widthPx, symbol.y() - raisePx, widthPx, heightPx);
  }
  QRect Box(QPoint symbol, int widthPx, int heightPx) const {
    return goesLeft(symbol, widthPx, edge) ? Left(symbol, widthPx, heightPx)
                                     : Right(symbol, widthPx, heightPx);
  }
};

// Names measured in one font. A tracked list keeps its names from one redraw to the next, and
// measuring a name shapes it with the whole text engine, so widths are remembered.
class TNameWidths {
 public:
  // The widths kept for font on this thread, alive as long as the thread.
  static TNameWidths& For(const QFont& font);

  // The width of a UTF-8 name in the canvas's font (the one these widths are for), measured on
  // first sight.
  int Width(TCanvas& canvas, std::string_view name);

 private:
  struct THash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };
  std::unordered_map<std::string, int, THash, std::equal_to<>> widths_;
};

// A name and the box it is drawn at (top left) and covers.
struct TPlacedName {
  QRect box;
  QString text;
};

// Greedy placement of names over one image, in the canvas's current font. A name that would
// overlap one placed before it is left out; the symbols are drawn whatever happens here.
class TNameLayout {
 public:
  TNameLayout(TCanvas& canvas, const TLabelRule& rule);

  // Takes the box of a name that is drawn whatever else wants the space (the active
  // satellite's); called before any other name is placed. An empty name takes nothing.
  TPlacedName Reserve(QPoint symbol, const QString& text);
  // The name (UTF-8) and its box when the box is still free, which it then takes.
  std::optional<TPlacedName> Place(QPoint symbol, std::string_view name);

 private:
  TCanvas& canvas_;
  const TLabelRule rule_;
  // Widths in this font measured on this or earlier redraws, by name.
  TNameWidths& widths_;
  TLabelSpace space_;
  int heightPx_;
  // Advance of each ASCII character, to judge a name before it is measured properly.
  std::array<int, 128> advancePx_{};

  int QuickWidth(std::string_view name) const;
  bool NeitherSideFree(QPoint symbol, std::string_view name) const;
};

}  // namespace zen
