// A configuration block for the pages' rules and the bytes of its text
// fields, shared by the rules' unit tests and the widget pages' tests.
#pragma once

#include <string>
#include <vector>

#include "device_reply.h"
#include "platform/codepage.h"
#include "protocol/config_block.h"

namespace lx47::test {

// A device's discovery reply with every zero-padded text field empty.
struct PageBlock {
  explicit PageBlock(std::uint8_t last = 1) : bytes(DeviceReply("IAMI", Mac(last))) {
    for (std::size_t off = 112; off < 388; ++off) bytes[off] = 0;
  }
  ConfigBlock view() { return ConfigBlock(bytes); }

  Bytes bytes;
};

// The whole field's bytes.
inline std::string FieldBytes(const ConfigBlock& b, field::ZeroText f) {
  auto raw = b.raw(f);
  return std::string(reinterpret_cast<const char*>(raw.data()), raw.size());
}

// The bytes a text field should hold: text then zeros up to the width.
inline std::string Padded(const std::string& bytes, std::size_t width) {
  std::string s = bytes.substr(0, width);
  s.resize(width, '\0');
  return s;
}

// The device's bytes of a UTF-8 text.
inline std::string Ansi(const char* utf8) { return platform::Utf8ToAnsi(utf8); }

}  // namespace lx47::test
