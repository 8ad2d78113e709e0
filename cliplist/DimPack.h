// An ordered list of owned texts, and its element.
#pragma once
#include <cstddef>

// One text the list owns: a heap copy, freed with the element.
class CDim {
public:
    CDim() = default;
    ~CDim();
    CDim(const CDim&) = delete;
    CDim& operator=(const CDim&) = delete;

    // Takes a copy of the first `length` bytes of text. Out of memory: unchanged, false.
    bool Set(const char* text, size_t length);
    // The characters, lent until the element changes or goes; "" before the first Set.
    const char* Text() const { return text != nullptr ? text : ""; }
    void Swap(CDim& other);

private:
    char* text = nullptr;
};

class CDimPack {
public:
    CDimPack() = default;
    ~CDimPack();
    CDimPack(const CDimPack&) = delete;
    CDimPack& operator=(const CDimPack&) = delete;

    // Appends a copy of text (of its first `length` bytes). Out of memory: the list is left as
    // it was and false is returned.
    bool Add(const char* text);
    bool Add(const char* text, size_t length);
    int GetCount() const;
    // The element's characters, lent until it is removed; "" for an index out of range.
    const char* GetAt(int index) const;
    int RemoveAt(int index);
    void Clear();
    // Exchanges the contents of two lists.
    void Swap(CDimPack& other);

private:
    bool Grow();

    CDim* items = nullptr;   // `capacity` constructed elements, the first `count` in use
    int count = 0;
    int capacity = 0;
};
