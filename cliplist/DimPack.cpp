#include "cliplist/DimPack.h"
#include "common/Memory.h"
#include <climits>
#include <cstring>
#include <utility>

CDimPack::~CDimPack()
{
    Clear();
    MemFree(texts);
}

bool CDimPack::Add(const char* text)
{
    return Add(text, strlen(text));
}

bool CDimPack::Add(const char* text, size_t length)
{
    // Either the element goes in whole or nothing changes: its copy and, when the array is full,
    // the larger array are both had before the list is touched.
    if (length >= static_cast<size_t>(-1)) return false;
    char* copy = static_cast<char*>(MemAlloc(length + 1));
    if (copy == nullptr) return false;
    memcpy(copy, text, length);
    copy[length] = '\0';
    if (count == capacity) {
        int larger = capacity == 0 ? 4 : capacity <= INT_MAX / 2 ? capacity * 2 : INT_MAX;
        char** grown = larger > count ? static_cast<char**>(MemAllocArray(static_cast<size_t>(larger), sizeof(char*))) : nullptr;
        if (grown == nullptr) {
            MemFree(copy);
            return false;
        }
        if (count > 0) memcpy(grown, texts, static_cast<size_t>(count) * sizeof(char*));
        MemFree(texts);
        texts = grown;
        capacity = larger;
    }
    texts[count++] = copy;
    return true;
}

int CDimPack::GetCount() const
{
    return count;
}

const char* CDimPack::GetAt(int index) const
{
    if (index < 0 || index >= count) return "";
    return texts[index];
}

int CDimPack::RemoveAt(int index)
{
    if (index < 0 || index >= count) return 0;
    MemFree(texts[index]);
    memmove(texts + index, texts + index + 1, static_cast<size_t>(count - index - 1) * sizeof(char*));
    --count;
    return 1;
}

void CDimPack::Clear()
{
    // The array's storage stays for the next additions.
    for (int i = 0; i < count; ++i) MemFree(texts[i]);
    count = 0;
}

void CDimPack::Swap(CDimPack& other)
{
    std::swap(texts, other.texts);
    std::swap(count, other.count);
    std::swap(capacity, other.capacity);
}
