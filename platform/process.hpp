// What each of the programs does before anything else.
#pragma once

namespace platform {

// Makes sure the standard descriptors 0, 1 and 2 are open (on the null device where they were
// closed), so no file the program opens can take their place and receive its messages; keeps
// the system from showing error boxes of its own for failing file calls; and arranges that a
// list file half written when the process is told to terminate is removed, not left behind.
void PrepareProcess();

}  // namespace platform
