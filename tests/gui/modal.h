// Acting on a modal dialog from inside its exec(), as a user would: a short
// poll finds the dialog once it is the active modal widget and hands it to
// the test. The watch ends with its owner, so a dialog that never came
// cannot be answered by a later test; it is bounded in time as well.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace lx47::test {

// Runs act(dialog) once, for the first visible modal dialog of type T.
template <class T>
class ModalWatch {
 public:
  explicit ModalWatch(std::function<void(T&)> act, int limitMs = 10000) {
    clock_.start();
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this, act, limitMs] {
      if (auto* d = dynamic_cast<T*>(QApplication::activeModalWidget()); d && d->isVisible()) {
        timer_.stop();
        seen = true;
        act(*d);
        return;
      }
      if (clock_.hasExpired(limitMs)) timer_.stop();
    });
    timer_.start();
  }
  ModalWatch(const ModalWatch&) = delete;
  ModalWatch& operator=(const ModalWatch&) = delete;

  bool seen = false;

 private:
  QTimer timer_;
  QElapsedTimer clock_;
};

}  // namespace lx47::test
