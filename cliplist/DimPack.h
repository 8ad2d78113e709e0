// An ordered list of owned texts.
#pragma once
#include <cstddef>

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
    // Every element's characters in list order (GetCount of them), lent as GetAt lends them.
    const char* const* Texts() const { return texts; }

private:
    char** texts = nullptr;
    int count = 0;
    int capacity = 0;
};
