#include "ui/window_gesture.h"

#include <QChildEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

namespace lx47::ui {

namespace {

// Whether the home desktop looks past w to its parent for a click.
bool PassesClicks(const QWidget* w) {
  if (!w->isEnabled()) return true;
  if (const auto* label = qobject_cast<const QLabel*>(w))
    return !(label->textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextEditable));
  if (const auto* group = qobject_cast<const QGroupBox*>(w)) return !group->isCheckable();
  // Plain frames (lines, boxes) and the bare containers that only hold a
  // layout; not their descendants (scroll areas, stacks, tab bars...).
  const QMetaObject* type = w->metaObject();
  return type == &QFrame::staticMetaObject || type == &QWidget::staticMetaObject;
}

// Whether a click at pos (in owner's coordinates) reaches owner: on its own
// surface, or on children that all pass clicks on.
bool ClickReaches(const QWidget* owner, const QPoint& pos) {
  for (const QWidget* w = owner->childAt(pos); w && w != owner; w = w->parentWidget()) {
    if (!PassesClicks(w)) return false;
  }
  return true;
}

}  // namespace

WindowGesture::WindowGesture(QWidget* owner, std::function<void()> gesture)
    : QObject(owner), m_Owner(owner), m_Gesture(std::move(gesture)) {
  Watch(owner);
}

void WindowGesture::Watch(QWidget* w) {
  w->installEventFilter(this);
  for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool WindowGesture::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildAdded) {
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (child->isWidgetType()) Watch(static_cast<QWidget*>(child));
    return false;
  }
  if (event->type() != QEvent::MouseButtonDblClick) return false;
  const auto* click = static_cast<QMouseEvent*>(event);
  auto* w = qobject_cast<QWidget*>(watched);
  // Pop-ups and dialogs of their own (a list's drop-down) are other windows.
  if (click->button() != Qt::RightButton || !w || w->window() != m_Owner->window()) return false;
  const QPoint at = w == m_Owner ? click->position().toPoint() : w->mapTo(m_Owner, click->position().toPoint());
  if (!ClickReaches(m_Owner, at)) return false;
  m_Gesture();
  return true;  // the click has done its work; it goes no further
}

}  // namespace lx47::ui
