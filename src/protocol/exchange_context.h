// What an exchange works with besides its own inputs: the platform it
// reaches the devices through, the flag that asks it to stop, and the window
// it reports progress to.
#pragma once

#include "hostnet/host_address.h"
#include "platform/clock.h"
#include "platform/net.h"
#include "platform/notify.h"
#include "protocol/abort_flag.h"

namespace lx47 {

// Sockets, pauses and the local clock, and the host's address table.
struct Io {
  platform::NetApi& net;
  platform::Clock& clock;
  hostnet::HostNetSource& hosts;

  // The operating system's, or the fakes a test has put in their place.
  static Io Current() { return Io{platform::net(), platform::clock(), hostnet::hostNetSource()}; }
};

struct ExchangeContext {
  Io io;
  // Polled by the exchange; the discovery and the two device commands
  // clear it as they start.
  AbortFlag& abort;
  // The runner's window: the firmware transfer's progress and every
  // worker's end go there. nullptr: nobody listens.
  platform::Notifier* notify = nullptr;
};

}  // namespace lx47
