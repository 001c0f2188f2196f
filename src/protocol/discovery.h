// Discovery: the "FOND" broadcast from the host addresses, collecting "IAMI"
// replies into the device table.
#pragma once

#include <cstdint>

#include "protocol/process_param.h"

namespace lx47 {

// Discovery from one host address (network order). FoundCount grows by the
// number of entries this call stored, on every path.
int ScanLX47_sub(std::uint32_t host, ProcessParam* param);

// Discovery over the host address table (or SelectedHostAddress alone when
// ALL_HOST_SCAN is 0).
int DiscoverDevices(ProcessParam* param);

}  // namespace lx47
