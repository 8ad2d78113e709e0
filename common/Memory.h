// Memory for the plug-in, which is built without C++ exceptions: an exception cannot unwind
// through the system's frames between a window procedure and the editor, so a failed allocation
// would end the editor. Every allocation here answers null instead, and the caller turns that into
// its own failure result.
#pragma once
#include <cstddef>
#include <type_traits>

// A block of `size` bytes, or null.
void* MemAlloc(size_t size);
// `count` zero-filled elements of `size` bytes, or null (also when the total does not fit a size_t).
void* MemAllocArray(size_t count, size_t size);
// Frees a block of MemAlloc or MemAllocArray; null is allowed.
void MemFree(void* block);

// An array of plain elements that owns its block; empty until Allocate succeeds.
template <class T>
class MemArray {
    static_assert(std::is_trivial<T>::value, "the elements are neither constructed nor destroyed");

public:
    MemArray() = default;
    ~MemArray() { MemFree(data); }
    MemArray(const MemArray&) = delete;
    MemArray& operator=(const MemArray&) = delete;

    // Replaces the array with `count` zero-filled elements; false (and empty) when out of memory.
    bool Allocate(size_t count)
    {
        MemFree(data);
        data = static_cast<T*>(MemAllocArray(count, sizeof(T)));
        size = data != nullptr ? count : 0;
        return data != nullptr;
    }
    T* Data() const { return data; }
    size_t Size() const { return size; }
    T& operator[](size_t index) const { return data[index]; }

private:
    T* data = nullptr;
    size_t size = 0;
};
