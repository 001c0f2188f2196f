// A message box that shows a system error code with the system's text for it
// (used for errors of opening and reading the firmware file).
#pragma once

#include <QString>
#include <cstdint>

namespace lx47::app {

// The text ShowErrorInfo shows for code (at most 1024 characters).
QString ErrorInfoText(std::uint32_t code);
// Shows ErrorInfoText(code), caption "ErrorInfomation", information icon,
// owned by no window.
void ShowErrorInfo(std::uint32_t code);

}  // namespace lx47::app
