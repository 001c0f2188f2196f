// Result codes of the exchanges, carried as wParam of UWM_PROCESS_END.
#pragma once

namespace lx47 {

inline constexpr int PR_OK = 0;
inline constexpr int PR_SOCKET = 3;
inline constexpr int PR_SOCKOPT = 4;
inline constexpr int PR_BIND = 5;
inline constexpr int PR_SEND = 6;
inline constexpr int PR_ABORTED = 16;
inline constexpr int PR_CONNECT = 17;
inline constexpr int PR_NO_REPLY = 18;
inline constexpr int PR_REFUSED = 19;
inline constexpr int PR_NO_HOST = 20;
inline constexpr int PR_NO_HOST_ADDRESS = -1;
// The runner's own code for a worker that could not be started.
inline constexpr int PR_WORKER_NOT_STARTED = -1;

// Window messages posted by the workers (relative to 0x8000, the first
// application message).
inline constexpr unsigned UWM_PROCESS_END = 0x805A;       // wParam = result code, lParam = 0
inline constexpr unsigned UWM_PROCESS_PROGRESS = 0x805B;  // wParam = bytes sent, lParam = total

// Operation kinds of the runner.
inline constexpr int OP_SEARCH = 1;
inline constexpr int OP_WRITE = 2;
inline constexpr int OP_FIRMWARE = 3;
inline constexpr int OP_FACTORY_RESET = 5;
inline constexpr int OP_ROUTER_SCAN = 6;

}  // namespace lx47
