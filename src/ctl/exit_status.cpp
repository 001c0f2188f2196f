#include "ctl/exit_status.h"

#include "protocol/result_codes.h"

namespace lx47::ctl {

ExitStatus StatusOf(int resultCode) {
  switch (resultCode) {
    case PR_OK: return kExitOk;
    case PR_ABORTED: return kExitInterrupted;
    case PR_NO_REPLY: return kExitNoReply;
    case PR_REFUSED: return kExitDeviceRefused;
    case PR_NO_HOST: return kExitNoHost;
    case PR_CONNECT: return kExitConnect;
    default: return kExitNetwork;  // PR_SOCKET, PR_SOCKOPT, PR_BIND, PR_SEND, -1
  }
}

}  // namespace lx47::ctl
