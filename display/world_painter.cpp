// The world drawn from its outlines on a thread of its own.
#include "display/world_painter.h"

#include <QMetaObject>

namespace zen {

TWorldPainter::TWorldPainter(std::chrono::milliseconds limit) : limit_(limit) {
  limitTimer_.setSingleShot(true);
  QObject::connect(&limitTimer_, &QTimer::timeout, &home_, [this] { LimitPassed(); });
}

TWorldPainter::~TWorldPainter() {
  Stop();
}

void TWorldPainter::StartThread() {
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void TWorldPainter::Load(const QString& path) {
  if (stopped_) return;
  Cancel();
  mapReady_ = false;
  loading_ = true;
  ++lastLoad_;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingLoad_ = TLoad{lastLoad_, path};
    mapSource_ = lastLoad_;
  }
  wake_.notify_one();
  StartThread();
}

void TWorldPainter::SetMap(TVectorMap map) {
  Cancel();
  ++lastLoad_;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    map_ = std::make_shared<const TVectorMap>(std::move(map));
    pendingLoad_.reset();
    mapSource_ = lastLoad_;
  }
  loading_ = false;
  mapReady_ = true;
  tooHeavy_ = false;
}

void TWorldPainter::Draw(QSize areaLogical, qreal devicePixelRatio) {
  if (stopped_ || tooHeavy_) return;
  if (areaLogical.isEmpty() || !(devicePixelRatio > 0)) {
    Cancel();
    return;
  }
  if (!mapReady_) {
    if (loading_) afterLoad_ = TArea{areaLogical, devicePixelRatio};
    return;
  }
  const quint64 number = ++lastNumber_;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ = TRequest{number, areaLogical, devicePixelRatio};
    wanted_ = number;
  }
  wake_.notify_one();
  // The limit counts from the request: a drawing left behind still finishing its last piece
  // is part of the wait.
  limitTimer_.start(limit_);
  StartThread();
}

void TWorldPainter::Cancel() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.reset();
    wanted_ = 0;
  }
  afterLoad_.reset();
  limitTimer_.stop();
}

void TWorldPainter::Stop() {
  stopped_ = true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingLoad_.reset();
    pending_.reset();
    wanted_ = 0;
    ending_ = true;
  }
  wake_.notify_one();
  afterLoad_.reset();
  limitTimer_.stop();
  if (thread_.joinable()) thread_.join();
}

void TWorldPainter::Run() {
  for (;;) {
    std::optional<TLoad> load;
    TRequest request{};
    std::shared_ptr<const TVectorMap> map;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return ending_ || pendingLoad_ || pending_; });
      if (ending_) return;
      if (pendingLoad_) {
        load = std::move(pendingLoad_);
        pendingLoad_.reset();
      } else {
        request = *pending_;
        pending_.reset();
        map = map_;
      }
    }
    if (load) {
      TVectorMap read;
      QString problem;
      const bool ok = ReadVectorMap(load->path, read, problem);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        // A newer load or map asked for meanwhile wins.
        if (ok && mapSource_ == load->number) {
          map_ = std::make_shared<const TVectorMap>(std::move(read));
        }
      }
      QMetaObject::invokeMethod(
          &home_, [this, number = load->number, problem] { Loaded(number, problem); },
          Qt::QueuedConnection);
      continue;
    }
    if (map == nullptr) continue;
    const quint64 number = request.number;
    auto keepGoing = [this, number] { return wanted_.load(std::memory_order_relaxed) == number; };
    QImage world = RenderVectorMap(*map, request.area, request.ratio, keepGoing);
    if (world.isNull() || !keepGoing()) continue;
    // Posted to home_, which lives on the painter's own thread: the events queued for it go
    // with it, and the drawing thread is joined before that.
    QMetaObject::invokeMethod(
        &home_, [this, number, world = std::move(world)] { HandOver(number, world); },
        Qt::QueuedConnection);
  }
}

void TWorldPainter::Loaded(quint64 number, const QString& problem) {
  // The end of a load that a newer load or map has overtaken says nothing.
  if (!loading_ || stopped_ || number != lastLoad_) return;
  loading_ = false;
  mapReady_ = problem.isEmpty();
  tooHeavy_ = false;
  const std::optional<TArea> wanted = afterLoad_;
  afterLoad_.reset();
  if (loaded) loaded(problem);
  if (mapReady_ && wanted) Draw(wanted->area, wanted->ratio);
}

void TWorldPainter::HandOver(quint64 number, const QImage& world) {
  // A picture overtaken by a newer request, a cancel or the limit is dropped here, however far
  // it got.
  if (number != wanted_.load() || number != lastNumber_) return;
  wanted_ = 0;
  limitTimer_.stop();
  if (drawn) drawn(world);
}

void TWorldPainter::LimitPassed() {
  if (tooHeavy_ || lastNumber_ == 0 || wanted_.load() != lastNumber_) return;
  Cancel();
  tooHeavy_ = true;
  if (tooHeavyNow) tooHeavyNow();
}

}  // namespace zen
