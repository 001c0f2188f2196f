// Windows: the address table and adapter list from IP Helper. Names and
// descriptions stay the ANSI bytes the system gives; the dialog that shows
// them converts, and the stored adapter name is compared byte for byte.
#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>

#include <vector>

#include "hostnet/host_address.h"
#include "platform/error_text.h"

namespace lx47::hostnet {
namespace {

// The buffers hold structures with 32-bit fields; keep them aligned.
using Buffer = std::vector<ULONGLONG>;

void Resize(Buffer& buf, ULONG bytes) { buf.assign((bytes + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG), 0); }

// Why a table could not be read; only for a debugger's eyes, the user is
// never told (a failure reads as an empty table).
void Trace(const char* what, DWORD err) {
  const std::string text = what + (": " + platform::SystemErrorText(err));
  ::OutputDebugStringA(text.c_str());
}

std::string Field(const char* s, std::size_t cap) {
  std::size_t n = 0;
  while (n < cap && s[n] != '\0') ++n;
  return std::string(s, n);
}

class WinHostNet final : public HostNetSource {
 public:
  bool addressTable(std::vector<HostAddressRow>& rows) override {
    // First ask for the size, then read into a buffer of that size. An
    // address added between the two calls makes the second one fail with
    // 122 again; that reads as an empty table, as any other failure does.
    ULONG size = 0;
    Buffer buf;
    DWORD rc = ::GetIpAddrTable(nullptr, &size, FALSE);
    if (rc == ERROR_INSUFFICIENT_BUFFER) Resize(buf, size);  // 122
    auto* table = buf.empty() ? nullptr : reinterpret_cast<MIB_IPADDRTABLE*>(buf.data());
    rc = ::GetIpAddrTable(table, &size, FALSE);  // unsorted: the system's order
    if (rc != NO_ERROR || !table || table->dwNumEntries == 0) {
      if (rc != NO_ERROR) Trace("GetIpAddrTable", rc);
      return false;
    }
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
      const MIB_IPADDRROW& r = table->table[i];
      HostAddressRow row;
      row.addr = r.dwAddr;
      row.index = r.dwIndex;
      row.mask = r.dwMask;
      row.bcast = r.dwBCastAddr;
      row.reasmSize = r.dwReasmSize;
      row.type = r.wType;
      rows.push_back(row);
    }
    return true;
  }

  bool adapters(std::vector<AdapterInfo>& out) override {
    ULONG size = 0;
    Buffer buf;
    DWORD rc = ::GetAdaptersInfo(nullptr, &size);
    if (rc == ERROR_BUFFER_OVERFLOW) Resize(buf, size);  // 111
    auto* first = buf.empty() ? nullptr : reinterpret_cast<IP_ADAPTER_INFO*>(buf.data());
    rc = ::GetAdaptersInfo(first, &size);
    if (rc != NO_ERROR || !first || size == 0) {
      if (rc != NO_ERROR) Trace("GetAdaptersInfo", rc);
      return false;
    }
    for (const IP_ADAPTER_INFO* a = first; a; a = a->Next) {
      AdapterInfo info;
      info.name = Field(a->AdapterName, sizeof a->AdapterName);
      info.description = Field(a->Description, sizeof a->Description);
      const UINT len = a->AddressLength < sizeof a->Address ? a->AddressLength : sizeof a->Address;
      info.mac.assign(a->Address, a->Address + len);
      info.type = a->Type;
      // Only the first address of an adapter counts.
      info.firstAddress = Field(a->IpAddressList.IpAddress.String, sizeof a->IpAddressList.IpAddress.String);
      out.push_back(std::move(info));
    }
    return true;
  }
};

}  // namespace

HostNetSource& systemHostNetSource() {
  static WinHostNet instance;
  return instance;
}

}  // namespace lx47::hostnet
