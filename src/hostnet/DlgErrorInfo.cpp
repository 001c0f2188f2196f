#include "hostnet/DlgErrorInfo.h"

#include "ui/message_service.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstring>
#endif

namespace lx47::hostnet {

namespace {

constexpr std::uint32_t kTimeout = 121;  // the semaphore time-out of the platform

// The system's own text for an error code; empty when it has none.
QString SystemErrorText(std::uint32_t code) {
#ifdef _WIN32
  wchar_t buf[256] = {};
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf, 256, nullptr);
  return n ? QString::fromWCharArray(buf, static_cast<qsizetype>(n)) : QString();
#elif defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
  const char* d = strerrordesc_np(static_cast<int>(code));
  return d ? QString::fromLocal8Bit(d).left(256) : QString();
#else
  (void)code;
  return QString();
#endif
}

}  // namespace

QString ErrorInfoText(std::uint32_t code) {
  QString text;
  if (code == kTimeout) {
    text = QStringLiteral("%1\n Win32 ErrorCode : %2").arg(QStringLiteral("Time out  occured")).arg(code);
  } else if (const QString sys = SystemErrorText(code); !sys.isEmpty()) {
    text = QStringLiteral("%1\n Win32 ErrorCode : %2").arg(sys).arg(code);
  } else {
    text = QStringLiteral(" Win32  ErrorCode：%1").arg(code);
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

}  // namespace lx47::hostnet
