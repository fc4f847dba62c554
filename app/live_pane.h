// The side panel's "Info" tab: the live table with the sky's table below it, scrolled as one.
#pragma once

#include <QScrollArea>
#include <QTableWidget>

namespace zen {

// The live table keeps its documented rows first and whole; the sky's rows (the satellite's
// J2000 place and the Moon) follow them and are reached by scrolling where the tab is not tall
// enough. Both tables show every row at full height and leave the scrolling to the pane.
class TLivePane : public QScrollArea {
  Q_OBJECT

 public:
  explicit TLivePane(QWidget* parent);

  // The width the tables get in a pane of the given width that has to scroll.
  int ContentWidth(int paneWidthPx) const;
  // Takes the two tables in, the live one on top; the focus goes to the live table.
  void Hold(QTableWidget* live, QTableWidget* sky);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTableWidget* live_ = nullptr;
  QTableWidget* sky_ = nullptr;

  // Each table as tall as its rows, which grow with the face's height.
  void FitHeights();
};

}  // namespace zen
