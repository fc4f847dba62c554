// "Save settings...": whether a settings save carries satellites, options or both.
#include "app/save_settings_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zen {

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Save settings..."));
  setModal(true);
  auto* group = new QGroupBox(QStringLiteral("Save"), this);
  auto* column = new QVBoxLayout(group);
  const char* captions[] = {"Satellites && options", "Only options", "Only satellites"};
  for (size_t i = 0; i < items.size(); ++i) {
    items[i] = new QRadioButton(QString::fromLatin1(captions[i]), group);
    column->addWidget(items[i]);
  }
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetChoice(0);
}

void TForm2::SetChoice(int choice) {
  if (choice < 0 || choice >= static_cast<int>(items.size())) choice = 0;
  items[static_cast<size_t>(choice)]->setChecked(true);
}

int TForm2::Choice() const {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i]->isChecked()) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace zen
