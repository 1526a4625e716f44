#pragma once
// The one check for "cannot happen". It stays on in release builds: the checks are cheap and a
// silent broken invariant in the toolkit costs more than the test.

namespace zam {

using AssertHandler = void (*)(const char* expr, const char* file, int line);

// Installs the handler that failed checks call; null restores the default, which reports on
// stderr and aborts. Returns the previous handler so that tests can put it back.
AssertHandler SetAssertHandler(AssertHandler handler);

// Called by ZAM_ASSERT. Returns only when an installed handler returns.
void AssertFailed(const char* expr, const char* file, int line);

}  // namespace zam

#define ZAM_ASSERT(cond) \
    ((cond) ? static_cast<void>(0) : ::zam::AssertFailed(#cond, __FILE__, __LINE__))
