// The monkey's side of the story: a seeded random source and a model of what the user has
// saved and copied, kept by the rules the user sees, against which the clip list is checked.
#pragma once
#include "common/Sjis.h"
#include <windows.h>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// splitmix64: the same numbers from the same seed everywhere.
class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

private:
    uint64_t state;
};

// The longest start of the text of at most `limit` bytes that ends on a character boundary.
inline std::string Cut(const std::string& text, size_t limit)
{
    return text.substr(0, SjisCutLength(text.c_str(), text.size(), limit));
}

// True unless the text ends in the first byte of a double-byte character.
inline bool EndsOnCharacter(const std::string& text)
{
    size_t i = 0;
    while (i < text.size()) i += SjisIsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i == text.size();
}

// What the user has saved and copied, kept by the rules the user sees.
struct ClipModel {
    std::vector<std::string> saved;   // the normal view, top first
    std::vector<std::string> history; // recorded clipboard texts, oldest first
    std::vector<std::string> shown;   // the history view, top first
    bool historyView = false;
    bool bandOpen = true;
    bool paletteOpen = false;
    std::string clipboard;            // the text on the clipboard ("" for none)

    // An added text goes on top and replaces every item equal to it, letter case ignored.
    static void AddOnTop(std::vector<std::string>& list, const std::string& text)
    {
        if (text.empty()) return;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&text](const std::string& item) { return lstrcmpiA(item.c_str(), text.c_str()) == 0; }),
                   list.end());
        list.insert(list.begin(), text);
    }
    std::vector<std::string>& Visible() { return historyView ? shown : saved; }
    void Record(const std::string& text)
    {
        clipboard = text;
        if (!bandOpen) return;
        std::string kept = Cut(text, 500);
        if (!kept.empty()) {
            history.push_back(kept);
            if (history.size() > 30) history.erase(history.begin());
        }
        if (historyView) {
            AddOnTop(shown, kept);
            if (shown.size() > 30) shown.pop_back();
        }
    }
    void Capture(const std::string& text, bool byLines)
    {
        std::string kept = Cut(text, 5000);
        if (!byLines) {
            AddOnTop(saved, kept);
            return;
        }
        std::vector<std::string> lines;
        size_t at = 0;
        while (at < kept.size()) {
            size_t end = kept.find_first_of("\r\n", at);
            if (end == std::string::npos) end = kept.size();
            if (end > at) lines.push_back(kept.substr(at, end - at));
            at = kept.find_first_not_of("\r\n", end);
            if (at == std::string::npos) break;
        }
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) AddOnTop(saved, *line);
    }
    void ShowHistory()
    {
        historyView = true;
        shown.clear();
        for (const std::string& text : history) AddOnTop(shown, text);
    }
    // A band joining the clipboard viewer chain is told of the clipboard's content at once.
    void Open()
    {
        bandOpen = true;
        Record(clipboard);
    }
    void Event800()
    {
        history.clear();
        // The visible normal view stays and is saved again at the next close; what only lives
        // in the saved items (history view shown, band closed) is discarded.
        if (!bandOpen || historyView) saved.clear();
    }
};
