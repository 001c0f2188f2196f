// Broadcasts for a UDP socket bound to one host address, on Linux.
//
// A Winsock UDP socket bound to host address H and port P also receives the
// datagrams sent to 255.255.255.255:P and to H's subnet broadcast address
// when they come in through H's interface; a device that answers by broadcast
// relies on that. A Linux socket bound to H receives only what is sent to H.
// So every such socket gets listeners of its own: one bound to each broadcast
// address with port P, which pass on only what arrived through H's interface,
// and a read on the socket takes the oldest datagram from any of them, so
// that unicast and broadcast answers come in the order they arrived, as from
// Winsock's one queue.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lx47::platform::posix {

// After a successful bind of UDP socket fd: opens its listeners when its
// address is on an interface that carries broadcasts. A listener that cannot
// be opened is left out; unicast answers are heard all the same.
void OpenBroadcastListeners(int fd);

// One datagram for fd, from the socket itself or its listeners; its length,
// or -1 when nothing was received. A datagram longer than cap is used up and
// counts as nothing, as Winsock fails it with WSAEMSGSIZE.
std::ptrdiff_t ReceiveDatagram(int fd, std::uint8_t* buf, std::size_t cap);

// Shuts down and closes fd's listeners; before fd itself is closed.
void CloseBroadcastListeners(int fd);

}  // namespace lx47::platform::posix
