// An ordered list of owned texts.
#pragma once
#include <string>
#include <vector>

class CDim {
public:
    std::string text;
};

class CDimPack {
public:
    CDimPack() = default;
    ~CDimPack();
    CDimPack(const CDimPack&) = delete;
    CDimPack& operator=(const CDimPack&) = delete;

    // Appends a copy of text. Out of memory: the list is left as it was and false is returned.
    bool Add(const std::string& text);
    int GetCount() const;
    // The element's characters, lent until it is removed; "" for an index out of range.
    const char* GetAt(int index) const;
    int RemoveAt(int index);
    void Clear();

private:
    std::vector<CDim*> items;
};
