// The pointer over the map, the radar and the time panel: readouts in the footer, and what a
// press or the wheel asks of the command owners.
#include "app/pointer_commands.h"

#include <QMenu>

#include "display/pointer.h"

namespace zen {

TPointerCommands::TPointerCommands(TScreen& screen, TTracker& tracker, TTimeCommands& time,
                                   TShowCommands& show, TTrackingCommands& tracking,
                                   TLocationCommands& location, TFooter& footer, QObject* parent)
    : QObject(parent),
      screen_(screen),
      tracker_(tracker),
      time_(time),
      show_(show),
      tracking_(tracking),
      location_(location),
      footer_(footer) {
  screen_.mapView->onMove = [this](QPoint p, Qt::MouseButtons, Qt::KeyboardModifiers) {
    MapMove(p);
  };
  screen_.mapView->onPress = [this](QPoint p, Qt::MouseButton b, Qt::KeyboardModifiers) {
    MapPress(p, b);
  };
  screen_.mapView->onWheel = [this](int delta, Qt::KeyboardModifiers m) {
    return MapWheel(delta, m);
  };
  screen_.mapView->onLeave = [this] { LeftPicture(); };
  screen_.radarView->onMove = [this](QPoint p, Qt::MouseButtons, Qt::KeyboardModifiers) {
    RadarMove(p);
  };
  screen_.radarView->onPress = [this](QPoint p, Qt::MouseButton b, Qt::KeyboardModifiers) {
    RadarPress(p, b);
  };
  screen_.radarView->onLeave = [this] { LeftPicture(); };
  screen_.timePanelView->onPress = [this](QPoint p, Qt::MouseButton, Qt::KeyboardModifiers) {
    TimePanelPress(p);
  };
}

void TPointerCommands::MapMove(QPoint pixel) {
  mouseOutside_ = false;
  footer_.SendToFooter(kFooterHint, MapReadout(screen_.Scene(), pixel.x(), pixel.y()));
}

void TPointerCommands::RadarMove(QPoint pixel) {
  footer_.SendToFooter(kFooterHint, RadarReadout(screen_.Scene(), pixel.x(), pixel.y()));
}

void TPointerCommands::LeftPicture() {
  footer_.SendToFooter(kFooterHint, QString());
}

void TPointerCommands::LeftWindow() {
  mouseOutside_ = true;
  footer_.SendToFooter(kFooterHint, QString());
}

void TPointerCommands::MapPress(QPoint pixel, Qt::MouseButton button) {
  TPressDecision d =
      ::zen::MapPress(screen_.Scene(), button == Qt::RightButton, pixel.x(), pixel.y());
  CarryOut(d, screen_.mapView->mapToGlobal(pixel));
}

void TPointerCommands::RadarPress(QPoint pixel, Qt::MouseButton button) {
  TPressDecision d =
      ::zen::RadarPress(screen_.Scene(), button == Qt::RightButton, pixel.x(), pixel.y());
  CarryOut(d, screen_.radarView->mapToGlobal(pixel));
}

void TPointerCommands::CarryOut(const TPressDecision& d, QPoint globalPos) {
  if (d.picked) pickedPoint_ = d.pickedPoint;
  switch (d.action) {
    case TPressAction::None:
      return;
    case TPressAction::OpenMapPopup: {
      QMenu menu(screen_.mapView);
      const TMapPoint picked = pickedPoint_;
      menu.addAction(QStringLiteral("Pick Location"), this,
                     [this, picked] { location_.PickLocation(picked); });
      if (d.popupSat > 0) {
        int position = d.popupSat;
        menu.addAction(d.stopTrackingCaption, this,
                       [this, position] { tracking_.StopTracking(position); });
      }
      menu.exec(globalPos);
      return;
    }
    case TPressAction::SetActive:
      tracking_.SetActive(d.newActiveSat);
      return;
    case TPressAction::GoToMarker:
      time_.GoToMoment(d.markerSimTime, d.middleAfter);
      return;
    case TPressAction::StepRadarMode:
      show_.SetRadarState(static_cast<int>(d.radarMode));
      return;
  }
}

void TPointerCommands::TimePanelPress(QPoint pixel) {
  const TTimeControl& time = tracker_.time;
  switch (::zen::TimePanelPress(time, pixel.x(), pixel.y())) {
    case TTimePanelAction::None:
      return;
    case TTimePanelAction::ToggleMode:
      (time.Mode() == TTimeMode::RealTime ? time_.simulation : time_.realTime)->trigger();
      return;
    case TTimePanelAction::PressAutoForward:
      time_.autoForward->trigger();
      return;
    case TTimePanelAction::PressAutoBackward:
      time_.autoBackward->trigger();
      return;
    case TTimePanelAction::ToggleScale:
      (time.Display == TTimeDisplay::Utc ? time_.showLocal : time_.showUtc)->trigger();
      return;
    case TTimePanelAction::ToggleView:
      time_.ToggleTimePanelView();
      return;
  }
}

bool TPointerCommands::MapWheel(int delta, Qt::KeyboardModifiers modifiers) {
  if (mouseOutside_) return false;
  TWheelKeys keys;
  keys.shift = modifiers & Qt::ShiftModifier;
  keys.ctrl = modifiers & Qt::ControlModifier;
  keys.other = modifiers & (Qt::AltModifier | Qt::MetaModifier);
  return time_.Wheel(delta, keys);
}

}  // namespace zen
