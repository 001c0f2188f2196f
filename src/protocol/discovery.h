// Discovery: the "FOND" broadcast from the host addresses, collecting "IAMI"
// replies into a device table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "protocol/config_block.h"
#include "protocol/device_table.h"
#include "protocol/exchange_context.h"
#include "protocol/tool_settings.h"

namespace lx47 {

using SearchPassword = std::array<std::uint8_t, 8>;

// "%-8.8s" of a password's single-byte text: its first 8 bytes (a zero byte
// ends it earlier), padded on the right with blanks. The search request
// carries exactly these 8 bytes.
SearchPassword PadSearchPassword(std::string_view text);
// A password as typed (UTF-8, at most 8 characters): in the device code page,
// a double-byte character that would not fit whole into the 8 bytes left out
// rather than cut in half, then padded.
SearchPassword TypedSearchPassword(std::string_view utf8);

struct SearchRequest {
  ToolSettings settings;                  // the timing, and ALL_HOST_SCAN
  std::uint32_t SelectedHostAddress = 0;  // network order; the host address when ALL_HOST_SCAN is 0
  SearchPassword Password{};
  lx47::MacAddress MacAddress{};  // with OneDevice: the device looked for; all zero: any
  std::int32_t OneDevice = 0;     // 1: stop at the first device that passes the filter
};

struct SearchResult {
  int code = 0;
  DeviceTableArray DeviceTable{};  // filled from entry 0 on
  std::int32_t FoundCount = 0;     // the DeviceCount of the search, whatever the code
};

// Discovery from one host address (network order). FoundCount grows by the
// number of entries this call stored, on every path.
int ScanLX47_sub(std::uint32_t host, const SearchRequest& request, SearchResult& found, const ExchangeContext& x);

// Discovery over the host address table (or SelectedHostAddress alone when
// ALL_HOST_SCAN is 0). FoundCount starts from 0.
int DiscoverDevices(const SearchRequest& request, SearchResult& found, const ExchangeContext& x);

}  // namespace lx47
