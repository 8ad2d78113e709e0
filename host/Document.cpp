#include "host/Document.h"
#include "common/Sjis.h"
#include <utility>

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> result(1);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            result.emplace_back();
        } else {
            result.back() += c;
        }
    }
    return result;
}

void Document::SetText(const std::string& text)
{
    lines = SplitLines(text);
}

std::string Document::Text() const
{
    return Between({0, 0}, End());
}

// Walks the line from its start so a trail byte is never taken for the start of a character.
static int CharStartAtOrBefore(const std::string& line, int column)
{
    int start = 0;
    while (start < column) {
        int step = static_cast<int>(SjisCharLength(line.c_str() + start));
        if (start + step > column) break;
        start += step;
    }
    return start;
}

TextPos Document::Clamp(TextPos pos) const
{
    if (pos.line < 0) pos.line = 0;
    if (pos.line >= LineCount()) pos.line = LineCount() - 1;
    const std::string& line = lines[pos.line];
    if (pos.column < 0) pos.column = 0;
    if (pos.column > static_cast<int>(line.size())) pos.column = static_cast<int>(line.size());
    pos.column = CharStartAtOrBefore(line, pos.column);
    return pos;
}

TextPos Document::Previous(TextPos pos) const
{
    if (pos.column > 0) return {pos.line, CharStartAtOrBefore(lines[pos.line], pos.column - 1)};
    if (pos.line > 0) return {pos.line - 1, LineLength(pos.line - 1)};
    return pos;
}

TextPos Document::Next(TextPos pos) const
{
    const std::string& line = lines[pos.line];
    if (pos.column < static_cast<int>(line.size()))
        return {pos.line, pos.column + static_cast<int>(SjisCharLength(line.c_str() + pos.column))};
    if (pos.line + 1 < LineCount()) return {pos.line + 1, 0};
    return pos;
}

TextPos Document::Insert(TextPos at, const std::string& text)
{
    std::vector<std::string> pieces = SplitLines(text);
    std::string& first = lines[at.line];
    std::string tail = first.substr(at.column);
    first.erase(at.column);
    first += pieces[0];
    if (pieces.size() == 1) {
        TextPos end{at.line, static_cast<int>(first.size())};
        first += tail;
        return end;
    }
    TextPos end{at.line + static_cast<int>(pieces.size()) - 1, static_cast<int>(pieces.back().size())};
    pieces.back() += tail;
    lines.insert(lines.begin() + at.line + 1, std::make_move_iterator(pieces.begin() + 1),
                 std::make_move_iterator(pieces.end()));
    return end;
}

void Document::Erase(TextPos from, TextPos to)
{
    if (to < from) std::swap(from, to);
    if (from.line == to.line) {
        lines[from.line].erase(from.column, to.column - from.column);
        return;
    }
    lines[from.line] = lines[from.line].substr(0, from.column) + lines[to.line].substr(to.column);
    lines.erase(lines.begin() + from.line + 1, lines.begin() + to.line + 1);
}

std::string Document::Between(TextPos from, TextPos to) const
{
    if (to < from) std::swap(from, to);
    if (from.line == to.line) return lines[from.line].substr(from.column, to.column - from.column);
    std::string text = lines[from.line].substr(from.column);
    for (int i = from.line + 1; i < to.line; ++i) {
        text += "\r\n";
        text += lines[i];
    }
    text += "\r\n";
    text += lines[to.line].substr(0, to.column);
    return text;
}
