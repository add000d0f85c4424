#pragma once
// Runs a test as a user who is not root. Root may read and search any
// folder, so a test of what an ordinary user meets (a folder that can be
// listed but not searched) runs the test program again as "nobody".

#include <string>

struct OrdinaryUserRun {
    enum Outcome { RunHere, Passed, Failed, Impossible } outcome;
    std::string why;  // for Failed and Impossible: the child's output, or the reason
};

// RunHere when this process is no root (the test goes on in it); otherwise
// runs the current test alone in a child process of this program as
// "nobody" and tells how that went.
OrdinaryUserRun RunCurrentTestAsOrdinaryUser();
