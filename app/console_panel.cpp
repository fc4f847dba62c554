// The hidden console panel over the page area: the command line with its history, "Do!",
// "Clear", "Close" and the output, newest first.
#include "app/console_panel.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/window_look.h"
#include "display/fonts.h"

namespace zen {

TConsolePanel::TConsolePanel(TConsoleCommands& console, QWidget* parent)
    : QWidget(parent), console_(console) {
  setObjectName(QStringLiteral("consolePanel"));
  FillWithPanelColour(this);
  const QFont face = ZenFont(TFontFace::MsSansSerif, 8);

  auto* caption = new QLabel(QStringLiteral("Command:"), this);
  caption->setFont(face);
  commandLine = new QComboBox(this);
  commandLine->setObjectName(QStringLiteral("commandLine"));
  commandLine->setEditable(true);
  // The panel keeps the history itself: every executed line, in order, empty ones included.
  commandLine->setInsertPolicy(QComboBox::NoInsert);
  commandLine->setDuplicatesEnabled(true);
  commandLine->setFont(face);
  // The combo box hands keys to its line edit directly, past the line edit's filters, so
  // both are watched.
  commandLine->installEventFilter(this);
  commandLine->lineEdit()->installEventFilter(this);

  auto button = [this, &face](const char* text, const char* hint) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    b->setToolTip(QString::fromLatin1(hint));
    b->setFont(face);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
  };
  doButton = button("Do!", "Execute command");
  QFont bold = face;
  bold.setBold(true);
  doButton->setFont(bold);
  doButton->setDefault(true);
  clearButton = button("Clear", "Clear logs");
  closeButton = button("Close", "Close console");

  output = new QPlainTextEdit(this);
  output->setObjectName(QStringLiteral("consoleOutput"));
  output->setReadOnly(true);
  output->setFont(ZenFont(TFontFace::Courier, 9));
  output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* top = new QHBoxLayout;
  top->addWidget(caption);
  top->addWidget(commandLine, 1);
  top->addWidget(doButton);
  top->addWidget(clearButton);
  top->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addLayout(top);
  layout->addWidget(output, 1);

  connect(doButton, &QPushButton::clicked, this, &TConsolePanel::RunCommandLine);
  connect(clearButton, &QPushButton::clicked, &console_, &TConsoleCommands::Clear);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
  connect(console_.toggle, &QAction::triggered, this, &TConsolePanel::Toggle);
  connect(&console_, &TConsoleCommands::CloseRequested, this, &QWidget::hide);
  connect(&console_, &TConsoleCommands::OutputChanged, this, &TConsolePanel::ShowOutput);
  hide();
}

void TConsolePanel::Toggle() {
  if (isVisible()) {
    hide();
    return;
  }
  show();
  raise();
  commandLine->setFocus(Qt::ShortcutFocusReason);
}

void TConsolePanel::RunCommandLine() {
  const QString line = commandLine->currentText();
  commandLine->addItem(line);
  // Adding the first item shows it in the line; the line is empty after every command.
  commandLine->clearEditText();
  console_.Execute(line);
}

void TConsolePanel::ShowOutput() {
  output->setPlainText(console_.OutputText());
}

bool TConsolePanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  if (watched != commandLine && watched != commandLine->lineEdit()) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      RunCommandLine();
      return true;
    case Qt::Key_Escape:
      commandLine->clearEditText();
      return true;
    default:
      return false;
  }
}

}  // namespace zen
