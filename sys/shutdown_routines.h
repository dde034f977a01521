#pragma once
// Routines that run once when the program ends normally, after its message loop.

using ShutdownRoutine = void (*)();

// Adds `routine` to the list unless it is there already.
void RegisterShutdownRoutine(ShutdownRoutine routine);

// Runs every listed routine once, in the order of registration, and empties the list, so a
// second call runs nothing.
void RunShutdownRoutines();
