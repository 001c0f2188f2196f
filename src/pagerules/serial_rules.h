// The Serial page's rules: the RS-232C settings and the three conditions on
// which the device forwards serial data to Wi-Fi.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "pagerules/page_fields.h"
#include "protocol/config_block.h"

namespace lx47::pagerules {

// Serial_Baud_Rate codes by list position; the last one has no list item.
inline constexpr std::array<std::uint8_t, 11> BaudCodeTable = {0xA0, 0xD0, 0xE8, 0xF4, 0xFA, 0xFD,
                                                                0xFE, 0xFF, 0xBB, 0xC0, 0xD8};
// The baud rate, in bits per second, that each list position shows. The
// list holds the first nine; 460800 joins it when offered.
inline constexpr std::array<std::uint32_t, 10> kBaudRates = {1200,  2400,  4800,   9600,   19200,
                                                             38400, 57600, 115200, 230400, 460800};
inline constexpr int kListedBaudRates = 9;
inline constexpr int kOfferedBaudPosition = 9;  // "460800", code 0xC0
inline constexpr int kUnknownBaudPosition = 3;  // 9600, for a code the table does not know

// The values the small lists store, by list position.
inline constexpr std::array<std::uint8_t, 2> kDataBitsValues = {7, 8};
inline constexpr std::array<std::uint8_t, 3> kParityValues = {0, 1, 2};  // none, odd, even
inline constexpr std::array<std::uint8_t, 2> kStopBitsValues = {1, 2};
inline constexpr std::array<std::uint8_t, 2> kFlowControlValues = {0, 2};  // none, CTS/RTS
// And the texts of their items.
inline constexpr std::array<const char*, 2> kDataBitsItems = {"7", "8"};
inline constexpr std::array<const char*, 3> kParityItems = {"none", "ODD", "EVEN"};
inline constexpr std::array<const char*, 2> kStopBitsItems = {"1", "2"};
inline constexpr std::array<const char*, 2> kFlowControlItems = {"none", "CTS / RTS"};

// Upper ends of the forwarding conditions (0 switches each off).
inline constexpr std::uint32_t kMaxSendTime = 65535;  // milliseconds
inline constexpr std::uint32_t kMaxSendSize = 1440;   // bytes
inline constexpr int kSendCharMaxLength = 2;          // hexadecimal digits

// What the page's controls hold: the texts as typed, the lists as
// positions (-1: nothing selected).
struct SerialValues {
  std::string sendTime;
  std::string sendSize;
  std::string sendChar;
  int baudRate = -1;
  int dataBits = -1;
  int parity = -1;
  int stopBits = -1;
  int flowControl = -1;
};

struct SerialShown {
  SerialValues values;
  // The code of "460800": the list must offer it before it can show it.
  bool offer460800 = false;
};

// Fills the values from the block; the block is not changed. A baud code
// without an item (0xD8) selects nothing.
SerialShown LoadSerial(const ConfigBlock& block);

// Stores in the page's order: time, size, character, then the five lists.
StoreResult StoreSerial(ConfigBlock& block, const SerialValues& values, const FieldSet& enabled);

}  // namespace lx47::pagerules
