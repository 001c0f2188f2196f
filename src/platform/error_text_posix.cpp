// glibc's untranslated error descriptions; an unknown number has none
// (strerror would invent "Unknown error N").
#include <string.h>

#include "platform/error_text.h"

namespace lx47::platform {

std::string SystemErrorText(std::uint32_t code) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
  if (code > 0x7FFFFFFFu) return {};
  const char* d = ::strerrordesc_np(static_cast<int>(code));
  return d ? std::string(d) : std::string();
#else
  (void)code;
  return {};
#endif
}

}  // namespace lx47::platform
