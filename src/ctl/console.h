// What the command line takes from the system it runs on: its arguments in
// UTF-8, whether a stream is a terminal, and a console that shows UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace lx47::ctl {

// The arguments after the program's name, in UTF-8 (on Windows read from
// the wide command line, since the ANSI one cannot carry every character).
std::vector<std::string> Utf8Arguments(int argc, char** argv);
bool IsTerminal(std::FILE* stream);
// Sets the console up for UTF-8 output (Windows); nothing elsewhere.
void PrepareConsole();

}  // namespace lx47::ctl
