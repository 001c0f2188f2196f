#include "platform/clock.h"

namespace lx47::platform {

Clock& systemClock();  // defined by the platform's own file

namespace {
Clock* g_replacement = nullptr;
}  // namespace

Clock& clock() { return g_replacement ? *g_replacement : systemClock(); }

void setClock(Clock* replacement) { g_replacement = replacement; }

}  // namespace lx47::platform
