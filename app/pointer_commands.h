// The pointer over the map, the radar and the time panel: readouts in the footer, and what a
// press or the wheel asks of the command owners.
#pragma once

#include <QObject>
#include <QPoint>

#include "app/location_commands.h"
#include "app/screen.h"
#include "app/show_commands.h"
#include "app/time_commands.h"
#include "app/tracking_commands.h"
#include "display/footer.h"
#include "display/pointer.h"

namespace zen {

class TPointerCommands : public QObject {
  Q_OBJECT

 public:
  TPointerCommands(TScreen& screen, TTracker& tracker, TTimeCommands& time, TShowCommands& show,
                   TTrackingCommands& tracking, TLocationCommands& location, TFooter& footer,
                   QObject* parent = nullptr);

  void MapMove(QPoint pixel);
  void MapPress(QPoint pixel, Qt::MouseButton button);
  void RadarMove(QPoint pixel);
  void RadarPress(QPoint pixel, Qt::MouseButton button);
  void TimePanelPress(QPoint pixel);
  bool MapWheel(int delta, Qt::KeyboardModifiers modifiers);
  // The pointer left a picture for another control: its readout goes.
  void LeftPicture();
  // The pointer left the window's own surface: the readout goes and the wheel waits for a
  // move over the map (MouseOutside).
  void LeftWindow();
  bool MouseOutside() const { return mouseOutside_; }

 private:
  TScreen& screen_;
  TTracker& tracker_;
  TTimeCommands& time_;
  TShowCommands& show_;
  TTrackingCommands& tracking_;
  TLocationCommands& location_;
  TFooter& footer_;
  bool mouseOutside_ = true;
  TMapPoint pickedPoint_;

  void CarryOut(const TPressDecision& decision, QPoint globalPos);
};

}  // namespace zen
