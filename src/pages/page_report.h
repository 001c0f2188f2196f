// How the pages report a field their rules refused: the message, formatted
// with the page's title, in an application message box, then the focus
// (and, for edits, the selected text) on the field.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "pagerules/page_fields.h"
#include "ui/message_service.h"
#include "ui/strings.h"

namespace lx47::pages {

// The icon a page shows with one of its rules' refusals.
struct RefusalIcon {
  texts::TextId refusal;
  ui::MsgIcon icon;
};

// The icon for `refusal` in a page's table; none for a refusal it lacks.
template <std::size_t N>
ui::MsgIcon IconOf(const RefusalIcon (&table)[N], texts::TextId refusal) {
  for (const RefusalIcon& t : table)
    if (t.refusal == refusal) return t.icon;
  return ui::MsgIcon::None;
}

// The refusal's text with the page title in its "[%s]".
inline QString RefusalMessage(texts::TextId refusal, const QString& title) {
  return ui::Str(texts::RefusalText(refusal, ui::Utf8(title)));
}

// Shows the message and puts the focus on the field; does nothing at all
// when report is false. Always returns false, the result of the store.
inline bool RejectField(bool report, QWidget* page, const QString& text, ui::MsgIcon icon, QWidget* field) {
  if (!report) return false;
  ui::ShowAppMessage(page, text, icon);
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
  field->setFocus(Qt::OtherFocusReason);
  return false;
}

// What a page's store answers its caller: true when the rules stored every
// field; otherwise false, after the refusal's text is shown with the icon the
// page's table gives it (only when report is true) and the focus on field.
template <std::size_t N>
bool StoreAnswer(const pagerules::StoreResult& result, bool report, QWidget* page, const QString& title,
                 const RefusalIcon (&icons)[N], QWidget* field) {
  if (result.ok()) return true;
  return RejectField(report, page, RefusalMessage(result.message, title), IconOf(icons, result.message), field);
}

}  // namespace lx47::pages
