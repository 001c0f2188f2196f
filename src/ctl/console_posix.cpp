#include <unistd.h>

#include "ctl/console.h"

namespace lx47::ctl {

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv + (argc > 0 ? 1 : 0), argv + argc}; }

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) != 0; }

void PrepareConsole() {}

}  // namespace lx47::ctl
