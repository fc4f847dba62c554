// The hidden console panel over the page area: the command line with its history, "Do!",
// "Clear", "Close" and the output, newest first.
#pragma once

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "app/console_commands.h"

namespace zen {

class TConsolePanel : public QWidget {
  Q_OBJECT

 public:
  // Hidden until the console's toggle shows it.
  TConsolePanel(TConsoleCommands& console, QWidget* parent);

  // Shown: brought to the front with the command line focused. Hidden otherwise.
  void Toggle();
  // "Do!": runs the command line, adds it to the history and empties it.
  void RunCommandLine();

  QComboBox* commandLine;
  QPushButton* doButton;
  QPushButton* clearButton;
  QPushButton* closeButton;
  QPlainTextEdit* output;

 protected:
  // Enter and Escape on the command line.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TConsoleCommands& console_;

  void ShowOutput();
};

}  // namespace zen
