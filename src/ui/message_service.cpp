// Message boxes, the file dialog and wait-cursor pauses, on Qt widgets.
#include "ui/message_service.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/strings.h"

namespace lx47::ui {

using texts::TextId;

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    // The desktop's exclamation mark and warning sign are one and the same icon.
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(MsgResult r) {
  switch (r) {
    case MsgResult::Ok: return QMessageBox::Ok;
    case MsgResult::Cancel: return QMessageBox::Cancel;
    case MsgResult::Yes: return QMessageBox::Yes;
    case MsgResult::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

class QtMessageService final : public MessageService {
 public:
  MsgResult show(const MessageRequest& request) override {
    QMessageBox box(request.parent);
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    box.setIcon(ToQtIcon(request.icon));
    switch (request.buttons) {
      case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
      case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
      case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    box.setDefaultButton(ToQtButton(request.defaultButton));
    switch (box.exec()) {
      case QMessageBox::Cancel: return MsgResult::Cancel;
      case QMessageBox::Yes: return MsgResult::Yes;
      case QMessageBox::No: return MsgResult::No;
      default: break;
    }
    // A box without a cancel choice that is closed anyway answers with its
    // safe choice.
    if (request.buttons == MsgButtons::YesNo) return MsgResult::No;
    if (request.buttons == MsgButtons::OkCancel) return MsgResult::Cancel;
    return MsgResult::Ok;
  }

  QString openFile(const FileRequest& request) override {
    QFileDialog dialog(request.parent);
    ConfigureOpenFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
  }

  void waitCursorPause(int ms) override {
    if (ms <= 0) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Painting and timers go on, but the user's clicks and keys wait until
    // the pause is over, as they would behind a busy window.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
  }
};

MessageService* g_replacement = nullptr;

bool HasWildcard(const QString& name) { return name.contains(u'*') || name.contains(u'?'); }

// Yes/No and OK/Cancel boxes default to their first button unless the
// caller chose the second.
MsgResult EffectiveDefault(MsgButtons buttons, MsgResult wanted) {
  switch (buttons) {
    case MsgButtons::YesNo:
      return wanted == MsgResult::No ? MsgResult::No : MsgResult::Yes;
    case MsgButtons::OkCancel:
      return wanted == MsgResult::Cancel ? MsgResult::Cancel : MsgResult::Ok;
    case MsgButtons::Ok: break;
  }
  return MsgResult::Ok;
}

MsgResult ShowWithCaption(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                          MsgButtons buttons, MsgResult defaultButton) {
  MessageRequest request;
  request.parent = parent;
  request.text = text;
  request.caption = caption;
  request.icon = icon;
  request.buttons = buttons;
  request.defaultButton = EffectiveDefault(buttons, defaultButton);
  return messages().show(request);
}

}  // namespace

void ConfigureOpenFileDialog(QFileDialog& dialog, const FileRequest& request) {
  dialog.setWindowTitle(request.title);
  dialog.setDirectory(request.directory);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Qt takes a file type's pattern from the parentheses at the end of its
  // text. The type reads as the request's text, details hidden, and shows
  // the files that the pre-filled name names (upper- and lower-case alike,
  // as the home desktop's file names are).
  const QString pattern = HasWildcard(request.fileName) ? request.fileName : QStringLiteral("*");
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(request.filter, pattern));
  if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  // Room for the name, and size and date columns as wide as their texts
  // (Qt's own widths cut both off in the Japanese texts).
  dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 460)));
  if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < header->count(); ++c) header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  }
}

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

MessageService& messages() {
  static QtMessageService real;
  return g_replacement ? *g_replacement : real;
}

void setMessageService(MessageService* replacement) { g_replacement = replacement; }

QString AppCaption() { return Str(TextId::ToolName); }

QString AppName() {
  if (QCoreApplication::instance()) {
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (!name.isEmpty()) return name;
  }
  return QStringLiteral("lx47-config");
}

MsgResult ShowMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                      MsgResult defaultButton) {
  return ShowWithCaption(parent, text, AppCaption(), icon, buttons, defaultButton);
}

MsgResult ShowAppMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                         MsgResult defaultButton) {
  return ShowWithCaption(parent, text, AppName(), icon, buttons, defaultButton);
}

}  // namespace lx47::ui
