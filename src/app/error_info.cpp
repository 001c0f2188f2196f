#include "app/error_info.h"

#include "platform/error_text.h"
#include "ui/message_service.h"
#include "ui/strings.h"

namespace lx47::app {

namespace {

constexpr std::uint32_t kTimeout = 121;  // the semaphore time-out of the platform

// The system's own text for an error code; empty when it has none.
QString SystemErrorText(std::uint32_t code) {
  return QString::fromStdString(platform::SystemErrorText(code)).left(256);
}

}  // namespace

QString ErrorInfoText(std::uint32_t code) {
  QString text;
  if (code == kTimeout) {
    text = QStringLiteral("%1\n Win32 ErrorCode : %2").arg(QStringLiteral("Time out  occured")).arg(code);
  } else if (const QString sys = SystemErrorText(code); !sys.isEmpty()) {
    text = QStringLiteral("%1\n Win32 ErrorCode : %2").arg(sys).arg(code);
  } else {
    text = ui::Str(texts::ErrorCodeOnlyText(code));
  }
  return text.left(1023);
}

void ShowErrorInfo(std::uint32_t code) {
  ui::MessageRequest r;
  r.parent = nullptr;
  r.text = ErrorInfoText(code);
  r.caption = QStringLiteral("ErrorInfomation");
  r.icon = ui::MsgIcon::Information;
  ui::messages().show(r);
}

}  // namespace lx47::app
