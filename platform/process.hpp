// What each of the programs does before anything else.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Makes sure the standard descriptors 0, 1 and 2 are open (on the null device where they were
// closed), so no file the program opens can take their place and receive its messages; keeps
// the system from showing error boxes of its own for failing file calls; and arranges that a
// list file half written when the process is told to terminate is removed, not left behind.
void PrepareProcess();

// The program's arguments, the program's name first, as UTF-8: here argv itself; on Windows
// the UTF-16 command line split as the system splits it, since the runtime's argv holds only
// what the ANSI code page can.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace platform
