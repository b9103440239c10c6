#pragma once

// What tests look at of the processes a run leaves behind.
#include <sys/types.h>

#include <set>

// Zombies count as members: no such group means none of it is left at all.
bool groupExists(pid_t pgid);
// Children of this process that ended and were not reaped.
int zombieChildren();
// The descriptors this process holds.
std::set<int> openDescriptors();
