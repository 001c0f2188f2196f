// The one way the tool shows message boxes, opens the file dialog and pauses
// with the wait cursor, so that GUI tests can answer them and read them.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace lx47::ui {

enum class MsgIcon { None, Information, Warning, Error, Question, Exclamation };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest {
  QWidget* parent = nullptr;
  QString text;
  QString caption;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  MsgResult defaultButton = MsgResult::Ok;
};

struct FileRequest {
  QWidget* parent = nullptr;
  QString title;
  QString directory;
  QString filter;  // the file type's text, e.g. "LX47 firm data file (lx47_*.bin)"
  // Pre-filled name, e.g. "LX47_*.bin"; empty for none. A name with
  // wildcards is also the pattern the files are shown by, as on the home
  // desktop.
  QString fileName;
  QString defaultSuffix;  // appended to a typed name without one, e.g. "bin"
};

class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual MsgResult show(const MessageRequest& request) = 0;
  // The chosen file's path; empty when the user cancelled.
  virtual QString openFile(const FileRequest& request) = 0;
  // Pauses ms milliseconds with the wait cursor (the event loop keeps running).
  virtual void waitCursorPause(int ms) = 0;
};

// The wait cursor for as long as it lives, for work that goes on after a
// pause: the cursor a pause shows inside it stays until the work is done.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Sets up the open-file dialog of a request: title, folder, the file type
// that reads as the request's text while the files are shown by the
// pre-filled name's pattern, and columns wide enough for size and date.
void ConfigureOpenFileDialog(QFileDialog& dialog, const FileRequest& request);

MessageService& messages();
void setMessageService(MessageService* replacement);  // nullptr restores the real one

// "Orvane LX47 Configuration Tool" (string 108): caption of the main
// window's and its commands' boxes.
QString AppCaption();
// The executable's file name without extension: caption of the
// application-wide boxes.
QString AppName();

// A box of the main window or one of its commands (caption AppCaption).
MsgResult ShowMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                      MsgResult defaultButton = MsgResult::Ok);
// A box of the application-wide service (caption AppName).
MsgResult ShowAppMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                         MsgResult defaultButton = MsgResult::Ok);

}  // namespace lx47::ui
