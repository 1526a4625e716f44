#pragma once
// Growable array of untyped pointers. It does not own its items: freeing the list frees only
// the array, unless FreeWithItems is used. It grows by a fixed step, not by doubling.
#include <cstdint>

#include "toolkit/object.h"

namespace zam {

class PointerList : public ToolkitObject {
public:
    void** Items = nullptr;  // from CountedRealloc; Capacity slots, the first Count in use
    int32_t Count = 0;
    int32_t Capacity = 0;
    int32_t GrowBy = 4;

    // Appends and returns the new index. A full array grows to index + GrowBy slots.
    int32_t Add(void* item);
    // Index Count appends; an index outside 0..Count is taken as the nearer end.
    void Insert(int32_t index, void* item);
    // Null for an index outside 0..Count-1.
    void* Get(int32_t index) const;
    template <class T>
    T* At(int32_t index) const {
        return static_cast<T*>(Get(index));
    }
    // First index holding exactly this pointer, -1 when none does.
    int32_t IndexOf(const void* item) const;
    // Deletes up to n items from index on; the capacity stays. Nothing for n <= 0 or a bad index.
    void DeleteRange(int32_t index, int32_t n);
    void Delete(int32_t index) { DeleteRange(index, 1); }
    void Remove(const void* item);
    // Reallocates to n slots, never fewer than Count.
    void SetCapacity(int32_t n);
    // Releases the array; Count and Capacity become 0.
    void Clear();

protected:
    ~PointerList() override = default;
    void ReleaseOwned() override { Clear(); }
};

PointerList* NewList();

// Frees every item (each must be a ToolkitObject) from the last to the first, then the list.
// Null is accepted.
void FreeWithItems(PointerList* list);

}  // namespace zam
