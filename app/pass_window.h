// The details of one pass or flare in a window of its own beside the main window: the sky plot,
// the elevation curve and the numbers, redrawn at any size and saved as a PNG picture.
#pragma once

#include <QImage>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include "app/user_dialogs.h"
#include "display/pass_plot.h"

namespace zen {

class TPassWindow : public QWidget {
  Q_OBJECT

 public:
  // programFolder proposes its Output folder for pictures.
  TPassWindow(UserDialogs& dialogs, QWidget* parent = nullptr);

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
  // Shows a pass or a flare; a window not yet shown comes up without taking the keyboard from
  // the list the choice was made in.
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

 private:
  UserDialogs& dialogs_;
  QString programFolder_;
  TPassPlot plot_;
  QImage picture_;
  QRect pictureArea_;
  bool placed_ = false;  // placed beside the main window once, then where the user leaves it

  void Redraw();
  void PlaceBesideParent();
};

}  // namespace zen
