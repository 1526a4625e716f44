#include "toolkit/assert.h"

#include <cstdio>
#include <cstdlib>

namespace zam {
namespace {

void DefaultAssertHandler(const char* expr, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, expr);
    std::fflush(stderr);
    std::abort();
}

AssertHandler g_handler = DefaultAssertHandler;

}  // namespace

AssertHandler SetAssertHandler(AssertHandler handler) {
    AssertHandler previous = g_handler;
    g_handler = handler ? handler : DefaultAssertHandler;
    return previous;
}

void AssertFailed(const char* expr, const char* file, int line) {
    g_handler(expr, file, line);
}

}  // namespace zam
