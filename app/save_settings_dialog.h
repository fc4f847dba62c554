// "Save settings...": whether a settings save carries satellites, options or both.
#pragma once

#include <QDialog>
#include <QRadioButton>
#include <array>

namespace zen {

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);

  // 0 "Satellites && options", 1 "Only options", 2 "Only satellites".
  void SetChoice(int choice);
  int Choice() const;

  std::array<QRadioButton*, 3> items{};
};

}  // namespace zen
