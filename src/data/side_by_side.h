// Two pieces of work at once, one on another thread: for descriptions that
// read only what they are given (two spell files, two halves of a table).
#pragma once

#include <functional>

// Runs `first` on another thread while `second` runs on this one, and
// returns when both are done; both run on this thread when no thread can be
// started. Neither may report messages or touch what the other writes.
void RunSideBySide(const std::function<void()>& first, const std::function<void()>& second);
