#include "pagerules/serial_rules.h"

#include <cstdio>
#include <span>

#include "protocol/number_parse.h"

namespace lx47::pagerules {

namespace {

template <std::size_t N>
int PositionOf(std::uint8_t value, const std::array<std::uint8_t, N>& values, int otherwise) {
  for (std::size_t i = 0; i < N; ++i)
    if (values[i] == value) return static_cast<int>(i);
  return otherwise;
}

}  // namespace

SerialShown LoadSerial(const ConfigBlock& block) {
  SerialShown shown;
  SerialValues& v = shown.values;
  v.sendTime = std::to_string(block.get(field::Serial_Send_Time));
  v.sendSize = std::to_string(block.get(field::Serial_Send_Size));
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", unsigned(block.get(field::Serial_Send_Char)));
  v.sendChar = hex;

  const int baud = PositionOf(block.get(field::Serial_Baud_Rate), BaudCodeTable, kUnknownBaudPosition);
  shown.offer460800 = baud == kOfferedBaudPosition;
  v.baudRate = baud < static_cast<int>(kBaudRates.size()) ? baud : -1;

  v.dataBits = PositionOf(block.get(field::Serial_Data_Bits), kDataBitsValues, 1);
  v.parity = PositionOf(block.get(field::Serial_Parity), kParityValues, 0);
  v.stopBits = PositionOf(block.get(field::Serial_Stop_Bits), kStopBitsValues, 0);
  v.flowControl = block.get(field::Serial_Flow_Control) == 2 ? 1 : 0;
  return shown;
}

StoreResult StoreSerial(ConfigBlock& block, const SerialValues& v, const FieldSet& enabled) {
  if (enabled.has(PageField::Serial_Send_Time)) {
    const NumberResult t = ParseNumber(v.sendTime, number_rules::Lenient(kMaxSendTime));
    if (!t.ok()) return StoreResult::Refuse(PageField::Serial_Send_Time, TextId::SendTimeInvalid);
    block.set(field::Serial_Send_Time, static_cast<std::uint16_t>(t.value));
  }
  if (enabled.has(PageField::Serial_Send_Size)) {
    const NumberResult s = ParseNumber(v.sendSize, number_rules::Lenient(kMaxSendSize));
    if (!s.ok()) return StoreResult::Refuse(PageField::Serial_Send_Size, TextId::SendSizeInvalid);
    block.set(field::Serial_Send_Size, static_cast<std::uint16_t>(s.value));
  }
  if (enabled.has(PageField::Serial_Send_Char)) {
    const NumberResult c = ParseNumber(v.sendChar, number_rules::kHexByte);
    if (c.status == NumberStatus::BadCharacters)
      return StoreResult::Refuse(PageField::Serial_Send_Char, TextId::SendCharNotHex);
    if (!c.ok()) return StoreResult::Refuse(PageField::Serial_Send_Char, TextId::SendCharInvalid);
    block.set(field::Serial_Send_Char, static_cast<std::uint8_t>(c.value));
  }

  // The lists store by position; a list without a selection is refused.
  struct List {
    PageField field;
    int SerialValues::*position;
    field::U8 target;
    std::span<const std::uint8_t> values;
    TextId refusal;
  };
  const List lists[] = {
      {PageField::Serial_Baud_Rate, &SerialValues::baudRate, field::Serial_Baud_Rate, BaudCodeTable,
       TextId::BaudRateInvalid},
      {PageField::Serial_Data_Bits, &SerialValues::dataBits, field::Serial_Data_Bits, kDataBitsValues,
       TextId::DataBitsInvalid},
      {PageField::Serial_Parity, &SerialValues::parity, field::Serial_Parity, kParityValues, TextId::ParityInvalid},
      {PageField::Serial_Stop_Bits, &SerialValues::stopBits, field::Serial_Stop_Bits, kStopBitsValues,
       TextId::StopBitsInvalid},
  };
  for (const List& list : lists) {
    if (!enabled.has(list.field)) continue;
    const int position = v.*list.position;
    if (position < 0 || position >= static_cast<int>(list.values.size()))
      return StoreResult::Refuse(list.field, list.refusal);
    block.set(list.target, list.values[static_cast<std::size_t>(position)]);
  }
  if (enabled.has(PageField::Serial_Flow_Control)) {
    // The flow-control list is checked against four positions, though it
    // has two items: any position but 1 (CTS/RTS) stores "none".
    if (v.flowControl < 0 || v.flowControl >= 4)
      return StoreResult::Refuse(PageField::Serial_Flow_Control, TextId::FlowControlInvalid);
    block.set(field::Serial_Flow_Control, kFlowControlValues[v.flowControl == 1 ? 1 : 0]);
  }
  return {};
}

}  // namespace lx47::pagerules
