#pragma once

// The stand-in's side of eConsoleAppContainer.

// Runs the loop until every process group left behind by a deleted
// container has been ended and reaped: for the end of a program or a test.
// Containers still alive are their owners' business.
void finishChildren();
