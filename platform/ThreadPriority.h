#pragma once

// Raises the calling thread to the highest of the normal priorities (Windows'
// THREAD_PRIORITY_HIGHEST, two steps above normal). Where the system does not allow it (an
// unprivileged process may not lower its nice value) the priority stays as it is.

// True when the priority was raised.
bool RaiseCurrentThreadPriority();
