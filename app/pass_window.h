// The details of one pass or flare in a window of its own beside the main window: the sky plot,
// the elevation curve and the numbers, redrawn at any size and saved as a PNG picture.
#pragma once

#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>

#include "app/user_dialogs.h"
#include "display/pass_plot.h"

namespace zen {

// The top-left corner for a window of size `frame` on `screen` where it covers the least of
// `spare`. The part covered is the product of the overlaps along each side, and each overlap
// is least with the window at one end of the screen, so a corner is always best; of equal
// ones the right and then the top is taken.
QPoint LeastCoveringPlace(QSize frame, const QRect& screen, const QRect& spare);

class TPassWindow : public QWidget {
  Q_OBJECT

 public:
  // programFolder proposes its Output folder for pictures.
  TPassWindow(UserDialogs& dialogs, QWidget* parent = nullptr);

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Where the window is to cover least when the screen has no room beside its parent, in
  // screen coordinates: the map.
  std::function<QRect()> spareArea;
  // Shows a pass or a flare; a window not yet shown comes up without taking the keyboard from
  // the list the choice was made in, and closing it gives the keyboard back to that list.
  void ShowPlot(const TPassPlot& plot);
  const TPassPlot& Plot() const { return plot_; }
  // The picture as the window shows it.
  const QImage& Picture() const { return picture_; }
  // "Save picture...": asks for a file and writes the picture as PNG; false when nothing was
  // written (cancelled, or the failure shown).
  bool SavePicture();
  // Writes the picture as PNG; on failure returns false with the reason in error.
  bool WritePicture(const QString& file, QString& error) const;

  QPushButton* saveButton;
  QPushButton* closeButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  UserDialogs& dialogs_;
  QString programFolder_;
  TPassPlot plot_;
  QImage picture_;
  QRect pictureArea_;
  bool placed_ = false;  // placed beside the main window once, then where the user leaves it
  QPointer<QWidget> chosenIn_;  // the control of the main window the last choice came from

  void Redraw();
  void PlaceBesideParent();
};

}  // namespace zen
