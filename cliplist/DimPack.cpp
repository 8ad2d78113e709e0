#include "cliplist/DimPack.h"
#include <memory>

CDimPack::~CDimPack()
{
    Clear();
}

bool CDimPack::Add(const std::string& text)
{
    // Either the element goes in whole or nothing changes: the record is built first, and
    // push_back of a pointer leaves the array as it was when growing it fails.
    try {
        std::unique_ptr<CDim> element(new CDim);
        element->text = text;
        items.push_back(element.get());
        element.release();
        return true;
    } catch (...) {
        return false;
    }
}

int CDimPack::GetCount() const
{
    return static_cast<int>(items.size());
}

const char* CDimPack::GetAt(int index) const
{
    if (index < 0 || index >= GetCount()) return "";
    return items[static_cast<size_t>(index)]->text.c_str();
}

int CDimPack::RemoveAt(int index)
{
    if (index < 0 || index >= GetCount()) return 0;
    delete items[static_cast<size_t>(index)];
    items.erase(items.begin() + index);
    return 1;
}

void CDimPack::Clear()
{
    for (CDim* element : items) delete element;
    // clear() keeps the array's storage for the next additions.
    items.clear();
}
