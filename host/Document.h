// The edited text: a list of CP932 lines without their line breaks. Never empty: a document
// always has at least one (possibly empty) line.
#pragma once
#include "host/TextPos.h"
#include <string>
#include <vector>

class Document {
public:
    Document() : lines(1) {}

    // Replaces everything; CR LF, LF and a lone CR all end a line.
    void SetText(const std::string& text);
    // All lines joined with CR LF.
    std::string Text() const;

    int LineCount() const { return static_cast<int>(lines.size()); }
    const std::string& Line(int line) const { return lines[line]; }
    int LineLength(int line) const { return static_cast<int>(lines[line].size()); }

    // The nearest real position: the line clamped into the document, the column into the line,
    // and a column inside a double-byte character moved back to that character's start.
    TextPos Clamp(TextPos pos) const;
    // The position one character before / after `pos` (crossing line breaks), or `pos` itself at
    // the start / end of the document. `pos` must be a real position.
    TextPos Previous(TextPos pos) const;
    TextPos Next(TextPos pos) const;
    TextPos End() const { return {LineCount() - 1, LineLength(LineCount() - 1)}; }

    // Inserts `text` (line breaks as in SetText) at the real position `at`; returns the
    // position behind the inserted text.
    TextPos Insert(TextPos at, const std::string& text);
    // Removes the text between two real positions (in either order).
    void Erase(TextPos from, TextPos to);
    // The text between two real positions, lines joined with CR LF.
    std::string Between(TextPos from, TextPos to) const;

private:
    std::vector<std::string> lines;
};

// Splits text into lines at CR LF, LF or CR. An empty text is one empty line.
std::vector<std::string> SplitLines(const std::string& text);
