#include "cliplist/DimPack.h"
#include "common/Memory.h"
#include <climits>
#include <cstring>
#include <new>
#include <utility>

CDim::~CDim()
{
    MemFree(text);
}

bool CDim::Set(const char* source, size_t length)
{
    if (length >= static_cast<size_t>(-1)) return false;
    char* copy = static_cast<char*>(MemAlloc(length + 1));
    if (copy == nullptr) return false;
    memcpy(copy, source, length);
    copy[length] = '\0';
    MemFree(text);
    text = copy;
    return true;
}

void CDim::Swap(CDim& other)
{
    std::swap(text, other.text);
}

// Constructs `n` empty elements in a block of MemAllocArray, or answers null.
static CDim* NewElements(int n)
{
    CDim* block = static_cast<CDim*>(MemAllocArray(static_cast<size_t>(n), sizeof(CDim)));
    if (block == nullptr) return nullptr;
    for (int i = 0; i < n; ++i) new (block + i) CDim();
    return block;
}

static void DeleteElements(CDim* block, int n)
{
    if (block == nullptr) return;
    for (int i = 0; i < n; ++i) block[i].~CDim();
    MemFree(block);
}

CDimPack::~CDimPack()
{
    DeleteElements(items, capacity);
}

// Room for one more element; the elements move by swapping their texts, so nothing is copied.
bool CDimPack::Grow()
{
    int larger = capacity == 0 ? 4 : capacity <= INT_MAX / 2 ? capacity * 2 : INT_MAX;
    if (larger <= count) return false;
    CDim* grown = NewElements(larger);
    if (grown == nullptr) return false;
    for (int i = 0; i < count; ++i) grown[i].Swap(items[i]);
    DeleteElements(items, capacity);
    items = grown;
    capacity = larger;
    return true;
}

bool CDimPack::Add(const char* text)
{
    return Add(text, strlen(text));
}

bool CDimPack::Add(const char* text, size_t length)
{
    // Either the element goes in whole or nothing changes: its copy and, when the array is full,
    // the larger array are both had before the list is touched.
    CDim element;
    if (!element.Set(text, length)) return false;
    if (count == capacity && !Grow()) return false;
    items[count++].Swap(element);
    return true;
}

int CDimPack::GetCount() const
{
    return count;
}

const char* CDimPack::GetAt(int index) const
{
    if (index < 0 || index >= count) return "";
    return items[index].Text();
}

int CDimPack::RemoveAt(int index)
{
    if (index < 0 || index >= count) return 0;
    for (int i = index; i + 1 < count; ++i) items[i].Swap(items[i + 1]);
    CDim gone;
    gone.Swap(items[--count]);
    return 1;
}

void CDimPack::Clear()
{
    // The elements stay constructed, empty, for the next additions.
    for (int i = 0; i < count; ++i) {
        CDim gone;
        gone.Swap(items[i]);
    }
    count = 0;
}

void CDimPack::Swap(CDimPack& other)
{
    std::swap(items, other.items);
    std::swap(count, other.count);
    std::swap(capacity, other.capacity);
}
