#include "app/qt_ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>
#include <exception>
#include <thread>

#include "station.h"

namespace duri {

void QtUiThread::Synchronize(const std::function<void()>& fn) {
  if (IsCurrent()) {
    fn();
    return;
  }
  std::exception_ptr failure;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [&] {
        try {
          fn();
        } catch (...) {
          failure = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  // A failed step ends the caller's pass, as it would had it run on the caller's own thread.
  if (failure) std::rethrow_exception(failure);
}

void QtUiThread::Post(std::function<void()> fn) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
}

bool QtUiThread::IsCurrent() const {
  return QThread::currentThread() == QCoreApplication::instance()->thread();
}

void ShutdownStationPorts(Station& station, QtUiThread& ui) {
  std::atomic<bool> done{false};
  std::thread closer([&] {
    station.ports.Shutdown(&ui);
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  closer.join();
}

}  // namespace duri
