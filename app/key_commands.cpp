// The window's key table: every documented key, with its exact modifier set, the command it
// runs through the command owners, and whether the focused control still gets the key.
#include "app/key_commands.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>

#include "app/side_panel.h"

namespace zen {

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
const Qt::KeyboardModifiers kAltShift = Qt::AltModifier | Qt::ShiftModifier;
const Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
const Qt::KeyboardModifiers kCtrlPad = Qt::ControlModifier | Qt::KeypadModifier;
const Qt::KeyboardModifiers kCompared = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                        Qt::MetaModifier | Qt::KeypadModifier;

QString RefreshText(int refreshIndex) {
  return QString::number(kRefreshSeconds[static_cast<size_t>(std::clamp(refreshIndex, 0, 5))]);
}

QString JumpText(const TTimeControl& time) {
  return QString::fromLatin1(kJumpMultiplierNames[static_cast<size_t>(time.JumpMultiplier)]) +
         QStringLiteral(" x ") +
         QString::fromLatin1(kJumpUnitNames[static_cast<size_t>(time.JumpUnit)]);
}

}  // namespace

bool EditsText(const QWidget* widget) {
  if (widget == nullptr) return false;
  if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
  if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) return !spin->isReadOnly();
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->isEditable();
  if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) return !memo->isReadOnly();
  if (const auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->isReadOnly();
  return false;
}

bool HasOwnPopupMenu(const QWidget* widget) {
  if (widget == nullptr) return false;
  switch (widget->contextMenuPolicy()) {
    case Qt::CustomContextMenu:
      return true;
    case Qt::ActionsContextMenu:
      return !widget->actions().isEmpty();
    case Qt::DefaultContextMenu:
      // Of the standard controls only those that hold text bring a menu of their own.
      return qobject_cast<const QLineEdit*>(widget) != nullptr ||
             qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
             qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
             qobject_cast<const QTextEdit*>(widget) != nullptr;
    default:
      return false;
  }
}

QPoint KeyboardMenuPoint(const QWidget& widget) {
  if (const auto* view = qobject_cast<const QAbstractItemView*>(&widget)) {
    const QRect cell = view->visualRect(view->currentIndex());
    if (cell.isValid() && view->viewport()->rect().intersects(cell)) {
      return view->viewport()->mapTo(view, cell.center());
    }
  }
  const QRect cursor = widget.inputMethodQuery(Qt::ImCursorRectangle).toRect();
  if (cursor.isValid() && widget.rect().contains(cursor.center())) return cursor.center();
  return widget.rect().center();
}

bool IsEditingKey(const QKeyEvent& key) {
  static constexpr QKeySequence::StandardKey kEditing[] = {
      QKeySequence::SelectAll,           QKeySequence::Copy,
      QKeySequence::Cut,                 QKeySequence::Paste,
      QKeySequence::Undo,                QKeySequence::Redo,
      QKeySequence::MoveToStartOfDocument, QKeySequence::MoveToEndOfDocument,
      QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument,
  };
  return std::any_of(std::begin(kEditing), std::end(kEditing),
                     [&key](QKeySequence::StandardKey k) { return key.matches(k); });
}

bool MoveToEndOfLineField(QWidget* widget, const QKeyEvent& key) {
  QLineEdit* line = qobject_cast<QLineEdit*>(widget);
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) line = combo->lineEdit();
  // A number field types into a line of its own.
  if (qobject_cast<const QAbstractSpinBox*>(widget) != nullptr) {
    line = widget->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  }
  if (line == nullptr || line->isReadOnly()) return false;
  const bool toStart = key.matches(QKeySequence::MoveToStartOfDocument) ||
                       key.matches(QKeySequence::SelectStartOfDocument);
  const bool toEnd = key.matches(QKeySequence::MoveToEndOfDocument) ||
                     key.matches(QKeySequence::SelectEndOfDocument);
  if (!toStart && !toEnd) return false;
  const bool select = key.matches(QKeySequence::SelectStartOfDocument) ||
                      key.matches(QKeySequence::SelectEndOfDocument);
  if (toStart) {
    line->home(select);
  } else {
    line->end(select);
  }
  return true;
}

QString RefreshIntervalMessage(int refreshIndex) {
  return QStringLiteral("Refresh interval is now: ") + RefreshText(refreshIndex) +
         QStringLiteral(" sec(s)");
}

QString JumpIntervalMessage(const TTimeControl& time) {
  return QStringLiteral("Jump interval is now: ") + JumpText(time);
}

QString IntervalsMessage(const TTimeControl& time, int refreshIndex) {
  return QStringLiteral("Refresh interval: ") + RefreshText(refreshIndex) +
         QStringLiteral(" sec(s), Jump interval: ") + JumpText(time);
}

TKeyCommands::TKeyCommands(QWidget& window, TTracker& tracker, TTimeCommands& time,
                           TShowCommands& show, TWindowCommands& windowCommands,
                           TSidePanel& sidePanel, TFooter& footer, TConsoleCommands& console,
                           QAction& openStation, std::function<void(int)> showPage,
                           QObject* parent)
    : QObject(parent), window_(window), tracker_(tracker), footer_(footer) {
  auto always = [](std::function<void()> command) {
    return [command = std::move(command)] {
      command();
      return true;
    };
  };
  // A command that runs only while the "-" jump button is enabled, that is in simulation.
  auto inSimulation = [&tracker](std::function<void()> command) {
    return [&tracker, command = std::move(command)] {
      if (tracker.time.Mode() != TTimeMode::Simulation) return false;
      command();
      return true;
    };
  };
  auto notice = [this](QString text) { footer_.SendToFooter(kFooterNotice, text); };
  auto stepRefresh = [this, &time, notice](int step) {
    time.SetRefreshIndex(tracker_.view.refreshIndex + step);
    notice(RefreshIntervalMessage(tracker_.view.refreshIndex));
  };
  auto stepUnit = [this, &time, notice](int step) {
    time.SetJumpUnit(tracker_.time.JumpUnit + step);
    notice(JumpIntervalMessage(tracker_.time));
  };
  auto stepMultiplier = [this, &time, notice](int step) {
    time.SetJumpMultiplier(tracker_.time.JumpMultiplier + step);
    notice(JumpIntervalMessage(tracker_.time));
  };

  for (int page = 0; page < 7; ++page) {
    table_.push_back(
        {Qt::Key_F1 + page, kNone, TKeyPass::Yes, always([showPage, page] { showPage(page); })});
  }
  for (int tab = 0; tab < 3; ++tab) {
    table_.push_back({Qt::Key_F1 + tab, kShift, TKeyPass::Yes, always([&sidePanel, tab] {
                        sidePanel.SetListTab(static_cast<TListTab>(tab));
                      })});
  }
  table_.insert(
      table_.end(),
      {
          {Qt::Key_F10, kNone, TKeyPass::Yes, always([&show] { show.StepSatOnTrack(); })},
          {Qt::Key_F11, kNone, TKeyPass::Yes, always([&time] { time.timePanel->trigger(); })},
          {Qt::Key_F11, kShift, TKeyPass::Yes,
           always([&windowCommands] { windowCommands.fullScreen->trigger(); })},
          {Qt::Key_F12, kNone, TKeyPass::Yes, always([&show] { show.StepRadarMode(); })},
          {Qt::Key_F1, kAlt, TKeyPass::Yes, always([&windowCommands] { windowCommands.Help(); })},
          {Qt::Key_F1, kAltShift, TKeyPass::Yes,
           always([&windowCommands] { windowCommands.Help(); })},
          // A held key would take a shot at every repeat.
          {Qt::Key_F2, kAlt, TKeyPass::Yes,
           always([&windowCommands] { windowCommands.ScreenShot(false); }), true},
          {Qt::Key_F2, kAltShift, TKeyPass::Yes,
           always([&windowCommands] { windowCommands.ScreenShot(true); }), true},
          {Qt::Key_F3, kAlt, TKeyPass::Yes,
           always([&windowCommands] { windowCommands.minimize->trigger(); })},
          {Qt::Key_F3, kAltShift, TKeyPass::Yes,
           always([&windowCommands] { windowCommands.minimize->trigger(); })},
          {Qt::Key_F4, kAlt, TKeyPass::No,
           always([&windowCommands] { windowCommands.exit->trigger(); })},
          {Qt::Key_PageUp, kCtrl, TKeyPass::WhenNotRun,
           inSimulation([&time] { time.ToggleAutoBackward(); })},
          {Qt::Key_PageDown, kCtrl, TKeyPass::WhenNotRun,
           inSimulation([&time] { time.ToggleAutoForward(); })},
          {Qt::Key_End, kCtrl, TKeyPass::No,
           always([&time] { time.SetMode(TTimeMode::Simulation); })},
          {Qt::Key_Home, kCtrl, TKeyPass::No,
           always([&time] { time.SetMode(TTimeMode::RealTime); })},
          {Qt::Key_Plus, kCtrlPad, TKeyPass::WhenNotRun, inSimulation([&time] { time.Jump(+1); })},
          {Qt::Key_Minus, kCtrlPad, TKeyPass::WhenNotRun, inSimulation([&time] { time.Jump(-1); })},
          {Qt::Key_1, kCtrl, TKeyPass::No, always([stepRefresh] { stepRefresh(-1); })},
          {Qt::Key_2, kCtrl, TKeyPass::No, always([stepRefresh] { stepRefresh(+1); })},
          {Qt::Key_A, kCtrl, TKeyPass::No, always([stepUnit] { stepUnit(-1); })},
          {Qt::Key_S, kCtrl, TKeyPass::No, always([stepUnit] { stepUnit(+1); })},
          {Qt::Key_Q, kCtrl, TKeyPass::No, always([stepMultiplier] { stepMultiplier(-1); })},
          {Qt::Key_W, kCtrl, TKeyPass::No, always([stepMultiplier] { stepMultiplier(+1); })},
          {Qt::Key_R, kCtrl, TKeyPass::No, always([&openStation] { openStation.trigger(); })},
          {Qt::Key_QuoteLeft, kCtrl, TKeyPass::Yes, always([this, notice] {
             notice(IntervalsMessage(tracker_.time, tracker_.view.refreshIndex));
           })},
          // The same key with Shift: some layouts report the tilde, others the key itself.
          {Qt::Key_QuoteLeft, kCtrlShift, TKeyPass::Yes,
           always([&console] { console.toggle->trigger(); })},
          {Qt::Key_AsciiTilde, kCtrlShift, TKeyPass::Yes,
           always([&console] { console.toggle->trigger(); })},
          // Where the system turns the key into a context-menu request of its own, that request
          // opens the menu and the key reaches the menu, not this table.
          {Qt::Key_Menu, kNone, TKeyPass::No, always([this] { ContextMenuKey(false); }), true},
          {Qt::Key_Menu, kShift, TKeyPass::No, always([this] { ContextMenuKey(true); }), true},
      });
}

void TKeyCommands::ContextMenuKey(bool quickMenuOnly) {
  QWidget* focus = window_.focusWidget();
  if (!quickMenuOnly && HasOwnPopupMenu(focus)) {
    const QPoint at = KeyboardMenuPoint(*focus);
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
    QApplication::sendEvent(focus, &request);
    return;
  }
  if (openQuickMenu) openQuickMenu();
}

QWidget* TKeyCommands::FirstReceiver(QObject* watched) const {
  if (!watched->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != &window_ || !window_.isEnabled()) return nullptr;
  // A key not taken by its control travels up to the control's parents; the table sees it
  // once, on its way to the first of them. The first is the window's own focus, which stays
  // while a box that a command opened has the keyboard and after it closes: the key goes on
  // up when the command returns, and must not run it again on the way.
  QWidget* first = window_.focusWidget();
  return widget == (first != nullptr ? first : &window_) ? widget : nullptr;
}

bool TKeyCommands::QuickMenuInstead(const QContextMenuEvent& request) {
  // Requests of the mouse open the menu of the place clicked, as they always have.
  if (request.reason() != QContextMenuEvent::Keyboard) return false;
  const Qt::KeyboardModifiers modifiers = request.modifiers() & kCompared;
  QWidget* focus = window_.focusWidget();
  if (modifiers == kNone && HasOwnPopupMenu(focus)) return false;
  if (modifiers != kNone && modifiers != kShift) return false;
  if (openQuickMenu) openQuickMenu();
  return true;
}

bool TKeyCommands::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
  modifiers &= kCompared;
  for (const TKeyBinding& b : table_) {
    if (b.key != key || b.modifiers != modifiers) continue;
    if (autoRepeat && b.oncePerPress) return b.pass == TKeyPass::No;
    bool ran = b.run();
    return b.pass == TKeyPass::No || (b.pass == TKeyPass::WhenNotRun && ran);
  }
  return false;
}

bool TKeyCommands::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ContextMenu) return false;
  QWidget* widget = FirstReceiver(watched);
  if (widget == nullptr) return false;
  if (event->type() == QEvent::ContextMenu) {
    return QuickMenuInstead(*static_cast<QContextMenuEvent*>(event));
  }
  auto* key = static_cast<QKeyEvent*>(event);
  // Where text is typed, its editing keys edit it; the table's commands on them wait for the
  // focus to be elsewhere.
  if (widget == window_.focusWidget() && EditsText(widget)) {
    if (MoveToEndOfLineField(widget, *key)) return true;
    if (IsEditingKey(*key)) return false;
  }
  return FormKeyDown(key->key(), key->modifiers(), key->isAutoRepeat());
}

}  // namespace zen
