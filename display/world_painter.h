// The world drawn from its outlines on a thread of its own, so that heavy outlines never hold
// up the window: one picture at a time, each request superseding the one in progress, and a
// time limit after which the outlines are given up.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "display/vector_map.h"

namespace zen {

// How long the outlines may take to draw before the map keeps to the world bitmap.
inline constexpr std::chrono::milliseconds kWorldDrawingLimit{2000};

class TWorldPainter {
 public:
  // The callbacks run on the thread that makes the painter, which must run an event loop.
  explicit TWorldPainter(std::chrono::milliseconds limit = kWorldDrawingLimit);
  // Stops as Stop does.
  ~TWorldPainter();
  TWorldPainter(const TWorldPainter&) = delete;
  TWorldPainter& operator=(const TWorldPainter&) = delete;

  // Reads and decodes the map file at path on the thread; loaded follows with the problem, or
  // an empty text when the map is in use. A picture asked for meanwhile is drawn once it is.
  void Load(const QString& path);
  // Uses map from now on.
  void SetMap(TVectorMap map);

  // Starts the picture for an area of areaLogical at devicePixelRatio. A picture wanted before
  // is dropped, whether it is being drawn or already drawn and not yet handed over; the thread
  // leaves it at its next piece. Nothing is drawn without a map, after Stop, or once the
  // outlines were too heavy. The time limit counts from here, or from the end of the load.
  void Draw(QSize areaLogical, qreal devicePixelRatio);
  // No picture is wanted any more.
  void Cancel();
  // Drops the picture wanted and waits for the thread to end; nothing is drawn afterwards.
  void Stop();

  // The outlines took longer than the limit: the map keeps to the bitmap from then on.
  bool TooHeavy() const { return tooHeavy_; }
  std::chrono::milliseconds Limit() const { return limit_; }

  // The end of Load: an empty problem when the map was read and is in use.
  std::function<void(const QString& problem)> loaded;
  // The picture of the latest request, of exactly the size and ratio asked for.
  std::function<void(const QImage& world)> drawn;
  // The latest request ran past the limit; no picture follows.
  std::function<void()> tooHeavyNow;

 private:
  struct TRequest {
    quint64 number;
    QSize area;
    qreal ratio;
  };
  struct TLoad {
    quint64 number;
    QString path;
  };
  struct TArea {
    QSize area;
    qreal ratio;
  };

  const std::chrono::milliseconds limit_;
  bool mapReady_ = false;
  bool loading_ = false;
  // The picture asked for while the map loads.
  std::optional<TArea> afterLoad_;
  quint64 lastNumber_ = 0;
  quint64 lastLoad_ = 0;
  bool tooHeavy_ = false;
  bool stopped_ = false;
  // Lives on the painter's own thread: the drawing thread hands its pictures over through it,
  // and its timer keeps the limit.
  QObject home_;
  QTimer limitTimer_;

  std::mutex mutex_;
  std::condition_variable wake_;
  // Guarded by mutex_: the map the thread draws, the file it is to read, the picture it is to
  // draw, and whether it is to end.
  std::shared_ptr<const TVectorMap> map_;
  std::optional<TLoad> pendingLoad_;
  quint64 mapSource_ = 0;  // the load, or the SetMap, whose map is to be drawn
  std::optional<TRequest> pending_;
  bool ending_ = false;
  // The number of the picture wanted, 0 for none: the drawing thread reads it between pieces.
  std::atomic<quint64> wanted_{0};
  std::thread thread_;

  void StartThread();
  void Run();
  void Loaded(quint64 number, const QString& problem);
  void HandOver(quint64 number, const QImage& world);
  void LimitPassed();
};

}  // namespace zen
