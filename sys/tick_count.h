#pragma once

#include <cstdint>

// Milliseconds on a steady clock: only differences mean anything. Never goes back.
std::int64_t TickCount();
