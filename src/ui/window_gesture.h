// The hidden right-button double-click gestures of the tool's windows, pages
// and dialogs, counted where the home desktop hands the click to them: on
// their own surface and on their static texts, group boxes, frames and
// disabled controls, which pass clicks through to the window beneath; not on
// a button, an edit, a list or the tabs, which keep them.
//
// Qt gives a click to the widget under the pointer and lets it travel up
// through the widgets that ignore it (buttons ignore the right button, so a
// click on one would reach the window), while a disabled widget swallows
// it. So the gesture watches the owner and everything in it, and decides by
// the widget the click actually landed on.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace lx47::ui {

class WindowGesture final : public QObject {
 public:
  // Calls gesture for each right-button double-click that reaches owner;
  // lives as long as owner.
  WindowGesture(QWidget* owner, std::function<void()> gesture);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Watch(QWidget* w);

  QWidget* m_Owner;
  std::function<void()> m_Gesture;
};

}  // namespace lx47::ui
