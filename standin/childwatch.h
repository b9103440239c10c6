#pragma once

// The stand-in's children. SIGCHLD only wakes the loop through a self-pipe;
// listeners then wait for the children they know of, so that nobody else's
// child is reaped here. This process also adopts the orphans of its
// children: members of a process group that outlive their leader stay
// ours to end and to reap, and none is left to a careless init.
#include <functional>

// Calls `changed` from the loop, one listener per round, soon after this
// call and after each SIGCHLD since. The first call sets the watch up;
// make it before starting a child. Returns 0 when it cannot be set up.
int watchChildren(std::function<void()> changed);
void unwatchChildren(int id);
