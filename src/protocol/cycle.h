// The one send/receive cycle that every UDP exchange except the firmware
// announcement runs. An exchange is only a CycleSpec: what to send where, what
// a reply must look like and what an accepted reply does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "protocol/exchange_context.h"
#include "protocol/result_codes.h"
#include "protocol/tool_settings.h"

namespace lx47 {

inline constexpr std::uint16_t kDevicePort = 5074;
inline constexpr std::uint16_t kFirmwarePort = 5075;

struct CycleReply {
  std::span<const std::uint8_t> bytes;  // from the marker to the end of the datagram
  bool refused = false;                 // the refusal marker was found, not the success one
};

struct CycleSpec {
  std::uint32_t host = 0;  // H, network order
  // Fills the request of send k (0-based) into req; called before every send.
  std::function<void(int k, std::vector<std::uint8_t>& req)> request;
  // Destination address of send k, network order.
  std::function<std::uint32_t(int k)> destination;
  std::size_t bufferSize = 2048;  // B: datagrams of at most B-1 bytes
  int sends = 0;                  // MaxSendCmdLoopCount
  int attempts = 0;               // N
  int recvDelayMs = 0;            // RecvDelay_msec
  const char* successMarker = nullptr;
  const char* refusalMarker = nullptr;  // nullptr: none
  std::size_t minLength = 0;            // counted from the marker
  // Discovery counts a datagram without a marker as an attempt; the others do not.
  bool markerlessUsesAttempt = false;
  std::uint32_t waitAfterSendMs = 0;  // after the sending socket is closed
  std::uint32_t waitAfterBindMs = 0;  // after the receiving socket is bound
  std::function<bool(const CycleReply&)> accept;
  // An accepted reply: nullopt keeps receiving (discovery), a code ends the exchange.
  std::function<std::optional<int>(const CycleReply&)> onAccepted;
  int abortResult = PR_ABORTED;
  int exhaustedResult = PR_NO_REPLY;  // every send made, no reply ended the exchange
};

// The sends, attempts and pause of the tool settings; an exchange that
// needs more attempts adds them.
void TakeTiming(CycleSpec& cycle, const ToolSettings& settings);

int RunCycle(const CycleSpec& cycle, const ExchangeContext& x);

// Offset of marker within the first len bytes of buf, searched as text up to
// the first zero byte; -1 when absent.
std::ptrdiff_t FindMarker(const std::uint8_t* buf, std::size_t len, const char* marker);

// Bytes 4..9 of a reply equal mac.
bool ReplyMacIs(const CycleReply& reply, std::span<const std::uint8_t> mac);

}  // namespace lx47
