// Which control shows each field that a page's rules may check: an enabled
// control (within the page) makes its field take part in a store, and a
// refusal of the field puts the focus on it. One list per page serves both.
#pragma once

#include <QWidget>
#include <vector>

#include "pagerules/page_fields.h"

namespace lx47::pages {

struct FieldControl {
  pagerules::PageField field;
  QWidget* control;
};
using FieldControls = std::vector<FieldControl>;

inline pagerules::FieldSet EnabledFields(const FieldControls& controls, const QWidget* page) {
  pagerules::FieldSet s;
  for (const FieldControl& c : controls) s.set(c.field, c.control->isEnabledTo(page));
  return s;
}

// The control of a field; the list's first for a field it does not have.
inline QWidget* ControlOf(const FieldControls& controls, pagerules::PageField field) {
  for (const FieldControl& c : controls)
    if (c.field == field) return c.control;
  return controls.front().control;
}

}  // namespace lx47::pages
