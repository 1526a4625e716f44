#include "toolkit/pointer_list.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "toolkit/heap_count.h"

namespace zam {

PointerList* NewList() {
    return NewObject<PointerList>();
}

int32_t PointerList::Add(void* item) {
    const int32_t index = Count;
    if (Count >= Capacity) {
        if (GrowBy <= 0) {
            GrowBy = 4;
        }
        // Past the largest count the step is cut short rather than overflowing.
        SetCapacity(static_cast<int32_t>(
            std::min<int64_t>(int64_t{index} + GrowBy, std::numeric_limits<int32_t>::max())));
        if (Count >= Capacity) {
            throw std::length_error("PointerList is full");
        }
    }
    Items[index] = item;
    ++Count;
    return index;
}

void PointerList::Insert(int32_t index, void* item) {
    index = std::clamp(index, int32_t{0}, Count);
    Add(item);
    std::memmove(&Items[index + 1], &Items[index], sizeof(void*) * (Count - 1 - index));
    Items[index] = item;
}

void* PointerList::Get(int32_t index) const {
    if (index < 0 || index >= Count) {
        return nullptr;
    }
    return Items[index];
}

int32_t PointerList::IndexOf(const void* item) const {
    for (int32_t i = 0; i < Count; ++i) {
        if (Items[i] == item) {
            return i;
        }
    }
    return -1;
}

void PointerList::DeleteRange(int32_t index, int32_t n) {
    if (n <= 0 || index < 0 || index >= Count) {
        return;
    }
    n = std::min(n, Count - index);
    std::memmove(&Items[index], &Items[index + n], sizeof(void*) * (Count - index - n));
    Count -= n;
}

void PointerList::Remove(const void* item) {
    const int32_t index = IndexOf(item);
    if (index >= 0) {
        Delete(index);
    }
}

void PointerList::SetCapacity(int32_t n) {
    n = std::max(n, Count);
    if (n == 0) {
        Clear();
        return;
    }
    void* grown = CountedRealloc(Items, sizeof(void*) * static_cast<size_t>(n));
    if (!grown) {
        throw std::bad_alloc();
    }
    Items = static_cast<void**>(grown);
    Capacity = n;
}

void PointerList::Clear() {
    CountedFree(Items);
    Items = nullptr;
    Count = 0;
    Capacity = 0;
}

void FreeWithItems(PointerList* list) {
    if (!list) {
        return;
    }
    // Freeing an item may take it or others out of this list (a child leaving its parent);
    // Get then answers null for slots past the new end instead of a stale pointer.
    for (int32_t i = list->Count - 1; i >= 0; --i) {
        Free(static_cast<ToolkitObject*>(list->Get(i)));
    }
    Free(list);
}

}  // namespace zam
