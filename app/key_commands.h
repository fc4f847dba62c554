// The window's key table: every documented key, with its exact modifier set, the command it
// runs through the command owners, and whether the focused control still gets the key.
#pragma once

#include <QKeyEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/console_commands.h"
#include "app/show_commands.h"
#include "app/time_commands.h"
#include "app/window_commands.h"
#include "display/footer.h"

namespace zen {

class TSidePanel;

// Whether the focused control still gets a key the table handled.
enum class TKeyPass { Yes, No, WhenNotRun };

struct TKeyBinding {
  int key;
  Qt::KeyboardModifiers modifiers;  // exactly these of Shift, Ctrl, Alt, Meta and Keypad
  TKeyPass pass;
  // Runs the command; false when it did not run (a simulation command in real time).
  std::function<bool()> run;
  // Taken once per press: the key's auto-repeat does not run it again.
  bool oncePerPress = false;
};

// Whether widget is a place where text is typed: an editable line, spin box, combo box or memo.
bool EditsText(const QWidget* widget);
// Whether widget opens a popup menu of its own on the context-menu key: a list or table with a
// menu, a text field with its editing menu.
bool HasOwnPopupMenu(const QWidget* widget);
// Where a popup opened by the keyboard stands in widget: the current line or cell of a list or
// table, the text cursor of a field, else the middle.
QPoint KeyboardMenuPoint(const QWidget& widget);
// Whether a key edits text there: select all, start and end of the text, clipboard and undo.
bool IsEditingKey(const QKeyEvent& key);
// Ctrl+Home and Ctrl+End (with Shift, selecting) in a one-line field, whose own editing knows
// only Home and End: the cursor goes to the start or end of its text. False for other keys and
// other controls.
bool MoveToEndOfLineField(QWidget* widget, const QKeyEvent& key);

// "Refresh interval is now: R sec(s)" and the jump-interval texts the keys report.
QString RefreshIntervalMessage(int refreshIndex);
QString JumpIntervalMessage(const TTimeControl& time);
QString IntervalsMessage(const TTimeControl& time, int refreshIndex);

class TKeyCommands : public QObject {
  Q_OBJECT

 public:
  // showPage shows a page tab (0..6) and focuses its control.
  TKeyCommands(QWidget& window, TTracker& tracker, TTimeCommands& time, TShowCommands& show,
               TWindowCommands& windowCommands, TSidePanel& sidePanel, TFooter& footer,
               TConsoleCommands& console, QAction& openStation,
               std::function<void(int)> showPage, QObject* parent = nullptr);

  const std::vector<TKeyBinding>& Table() const { return table_; }
  // FormKeyDown: runs the table's command for a key; true when the key is consumed. A key
  // held down repeats, except for the commands taken once per press.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat = false);

  // Sees every key meant for a control of the window before that control does, and the
  // context-menu requests that a key makes.
  bool eventFilter(QObject* watched, QEvent* event) override;

  // QuickMenu: opens the quick menu at its button's place.
  std::function<void()> openQuickMenu;

 private:
  QWidget& window_;
  TTracker& tracker_;
  TFooter& footer_;
  std::vector<TKeyBinding> table_;

  // The context-menu key: the focused control's own popup where it has one, else (and always
  // with Shift) the quick menu.
  void ContextMenuKey(bool quickMenuOnly);
  // The first control that a key or a keyboard's context-menu request reaches, or nullptr when
  // event is not meant for this window or goes on up from that control.
  QWidget* FirstReceiver(QObject* watched) const;
  bool QuickMenuInstead(const QContextMenuEvent& request);
};

}  // namespace zen
