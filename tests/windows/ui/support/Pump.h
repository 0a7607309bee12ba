// Runs the thread's message loop until a condition holds, for at most a bound of messages-rounds:
// the tests wait for what the windows do, never for a time.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches every pending message, then returns whether done() holds; repeats up to rounds times
// (each round waits at most 20 ms for a message to arrive). True once done() held.
bool PumpUntil(const std::function<bool()>& done, int rounds = 200);
// Dispatches what is pending now.
void PumpPending();
