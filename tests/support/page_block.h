// Configuration blocks for the pages' rules and the bytes of their text
// fields, shared by the rules' unit tests and the widget pages' tests.
#pragma once

#include <string>
#include <vector>

#include "device_reply.h"
#include "fakes.h"
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

// A TCP Client device with manual addressing and every Network field known.
inline PageBlock NetworkBlock(std::uint8_t mode = 0) {
  PageBlock b;
  ConfigBlock c = b.view();
  c.set(field::Operation_Mode, mode);
  c.set(field::DHCP_Enable, 0);
  c.set(field::Device_IP_Address, Ip("10.47.0.101"));
  c.set(field::Subnet_Mask, Ip("255.255.255.0"));
  c.set(field::Default_Gateway, Ip("10.47.0.1"));
  c.set(field::Local_Port, 23);
  c.set(field::Server_IP_Address, Ip("10.47.0.9"));
  c.set(field::Server_Port, 5000);
  c.set(field::DNS_Connect_Enable, 0);
  c.set(field::DNS_Server_IP_Address, Ip("10.47.0.53"));
  c.set(field::Server_Domain_Name, "lx47.example");
  return b;
}

// 9600 baud (unless told), 8N1 without flow control, forwarding after 50 ms,
// 100 bytes or a carriage return.
inline PageBlock SerialBlock(std::uint8_t baud = 0xF4) {
  PageBlock b;
  ConfigBlock c = b.view();
  c.set(field::Serial_Baud_Rate, baud);
  c.set(field::Serial_Data_Bits, 8);
  c.set(field::Serial_Parity, 0);
  c.set(field::Serial_Stop_Bits, 1);
  c.set(field::Serial_Flow_Control, 0);
  c.set(field::Serial_Send_Char, 0x0D);
  c.set(field::Serial_Send_Size, 100);
  c.set(field::Serial_Send_Time, 50);
  return b;
}

// Timers of 300 and 60 s, both passwords set, the connection password on.
inline PageBlock OptionBlock() {
  PageBlock b;
  ConfigBlock c = b.view();
  c.set(field::TCP_Disconnect_Time, 300);
  c.set(field::TCP_Keepalive_Interval, 60);
  c.set(field::Search_Password, "find");
  c.set(field::Connect_Password, "conn");
  c.set(field::Connect_Password_Enable, 1);
  return b;
}

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
