#pragma once
// Helpers for tests that drive real windows.

#include <windows.h>

#include <functional>

namespace ferryl::test {

// Dispatches every queued message of this thread.
void PumpMessages();

// Pumps messages until the condition holds or the time runs out; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

}  // namespace ferryl::test
