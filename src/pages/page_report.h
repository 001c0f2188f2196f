// How the pages report a field their rules refused: the message, formatted
// with the page's title, in an application message box, then the focus
// (and, for edits, the selected text) on the field.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "pagerules/page_fields.h"
#include "ui/message_service.h"

namespace lx47::pages {

// The text and icon a page shows for one of its rules' messages.
struct MessageText {
  pagerules::Message message;
  const char* utf8Format;  // "[%s]..." takes the page title
  ui::MsgIcon icon;
};

// The entry for `message` in a page's table of its messages.
template <std::size_t N>
const MessageText& TextOf(const MessageText (&table)[N], pagerules::Message message) {
  for (const MessageText& t : table)
    if (t.message == message) return t;
  return table[0];
}

// "[%s]..." with the page title in place of the %s.
inline QString PageMessage(const char* utf8Format, const QString& title) {
  QString text = QString::fromUtf8(utf8Format);
  const qsizetype at = text.indexOf(QStringLiteral("%s"));
  if (at >= 0) text.replace(at, 2, title);
  return text;
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
// field; otherwise false, after the refusal is shown as the page's table of
// messages says (only when report is true) with the focus on field.
template <std::size_t N>
bool StoreAnswer(const pagerules::StoreResult& result, bool report, QWidget* page, const QString& title,
                 const MessageText (&table)[N], QWidget* field) {
  if (result.ok()) return true;
  const MessageText& text = TextOf(table, result.message);
  return RejectField(report, page, PageMessage(text.utf8Format, title), text.icon, field);
}

}  // namespace lx47::pages
