#include "sys/shutdown_routines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string calls;
void First() { calls += "1"; }
void Second() { calls += "2"; }

TEST(ShutdownRoutines, RunOnceEachInRegistrationOrder) {
  calls.clear();
  RegisterShutdownRoutine(Second);
  RegisterShutdownRoutine(First);
  RegisterShutdownRoutine(Second);  // already listed: not added again
  RunShutdownRoutines();
  EXPECT_EQ(calls, "21");
  RunShutdownRoutines();
  EXPECT_EQ(calls, "21");
}

}  // namespace
