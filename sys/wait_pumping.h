#pragma once
// Waiting on the window thread without freezing the windows.

#include "sys/worker.h"

inline constexpr int kWaitSignalled = 0;  // the worker has ended
inline constexpr int kWaitTimeout = 258;  // the limit was reached

// Waits until `waitHandle`'s routine has returned or `limitMs` milliseconds have passed since
// the call, whichever is seen first, dispatching window events all the while (other handlers
// may run inside the wait). Each pass sleeps until the worker ends, an event arrives or the
// time left runs out, then handles pending events. A pass that ends at or after the limit
// gives kWaitTimeout even when the worker ended in it. A null handle waits out the limit,
// handling events. Call on the window thread only.
int WaitPumping(const WorkerHandle& waitHandle, int limitMs);
