#pragma once
// The program's own count of live heap bytes: every block from CountedAlloc and CountedRealloc
// adds its requested size until CountedFree. The Windows executables route the global operator
// new and delete through these too, so the count covers every C++ allocation of the program,
// and the toolkit's list storage uses them directly.
#include <cstddef>
#include <cstdint>

namespace zam {

// Requested bytes of the counted blocks alive now (block headers not included).
std::int64_t LiveHeapBytes();

// malloc, realloc and free behind a small header that keeps the requested size. Blocks are
// aligned for any type a plain operator new may be asked for. Null on failure (a failed
// realloc leaves the old block as it was); a size of 0 still gives a block of its own.
void* CountedAlloc(std::size_t size);
// Null ptr allocates. Only for blocks from CountedAlloc or CountedRealloc.
void* CountedRealloc(void* ptr, std::size_t size);
// Null is accepted.
void CountedFree(void* ptr);

}  // namespace zam
