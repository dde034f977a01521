#include "sys/wait_pumping.h"

#include "sys/tick_count.h"
#include "sys/window_layer.h"

int WaitPumping(const WorkerHandle& waitHandle, int limitMs) {
  const std::int64_t start = TickCount();
  for (;;) {
    const std::int64_t left = limitMs - (TickCount() - start);
    // A finished worker posts an event, which ends the sleep.
    if (left > 0 && !(waitHandle && waitHandle->Finished())) {
      WaitForEvents(static_cast<int>(left));
    }
    const bool signalled = waitHandle && waitHandle->Finished();
    const bool limitReached = TickCount() - start >= limitMs;
    ProcessPendingEvents();
    if (limitReached) return kWaitTimeout;
    if (signalled) return kWaitSignalled;
  }
}
