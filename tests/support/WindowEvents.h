#pragma once
#include <chrono>
#include <functional>

// Event helpers of the window tests, which run wx without its main loop.

// Lets the events that are due run: queued and posted events, the display's events, idle
// handlers and pending deletions.
void YieldToWindows();

// Runs events until done() holds or limit has passed; returns done(). For what another thread
// or the display brings about: a worker's result, a window being mapped.
bool YieldUntil(const std::function<bool()> &done,
                std::chrono::milliseconds limit = std::chrono::seconds(20));
