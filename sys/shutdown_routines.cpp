#include "sys/shutdown_routines.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::vector<ShutdownRoutine>& Routines() {
  static std::vector<ShutdownRoutine> routines;
  return routines;
}

}  // namespace

void RegisterShutdownRoutine(ShutdownRoutine routine) {
  std::vector<ShutdownRoutine>& routines = Routines();
  if (routine && std::find(routines.begin(), routines.end(), routine) == routines.end()) {
    routines.push_back(routine);
  }
}

void RunShutdownRoutines() {
  // Taken out first: a routine that registers another does not run it in this call.
  const std::vector<ShutdownRoutine> routines = std::move(Routines());
  Routines().clear();
  for (ShutdownRoutine routine : routines) routine();
}
