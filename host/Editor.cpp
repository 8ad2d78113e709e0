#include "host/Editor.h"
#include "host/Conversion.h"

void Editor::Load(const std::string& text)
{
    document.SetText(text);
    caret = anchor = TextPos{};
    undo.Clear();
}

std::string Editor::SelectedText() const
{
    return document.Between(anchor, caret);
}

void Editor::MoveCaret(TextPos to, bool extend)
{
    caret = document.Clamp(to);
    if (!extend) anchor = caret;
}

void Editor::Select(TextPos from, TextPos to)
{
    anchor = document.Clamp(from);
    caret = document.Clamp(to);
}

void Editor::SelectAll()
{
    anchor = TextPos{};
    caret = document.End();
}

void Editor::CollapseToEnd()
{
    caret = anchor = SelectionEnd();
}

void Editor::RecordUndo()
{
    undo.Record({document, caret, anchor});
}

void Editor::Insert(const std::string& text, bool replaceSelection)
{
    RecordUndo();
    if (replaceSelection && HasSelection()) {
        TextPos start = SelectionStart();
        document.Erase(anchor, caret);
        caret = start;
    }
    caret = anchor = document.Insert(caret, text);
}

bool Editor::DeleteSelection()
{
    if (!HasSelection()) return false;
    RecordUndo();
    TextPos start = SelectionStart();
    document.Erase(anchor, caret);
    caret = anchor = start;
    return true;
}

void Editor::Backspace()
{
    if (DeleteSelection()) return;
    TextPos before = document.Previous(caret);
    if (before == caret) return;
    RecordUndo();
    document.Erase(before, caret);
    caret = anchor = before;
}

void Editor::DeleteForward()
{
    if (DeleteSelection()) return;
    TextPos after = document.Next(caret);
    if (after == caret) return;
    RecordUndo();
    document.Erase(caret, after);
    anchor = caret;
}

void Editor::ConvertSelection(UINT flags)
{
    if (!HasSelection()) return;
    std::string before = SelectedText();
    std::string after = ConvertText(before, flags);
    if (after == before) return;
    bool caretFirst = caret < anchor;
    TextPos start = SelectionStart();
    RecordUndo();
    document.Erase(anchor, caret);
    TextPos end = document.Insert(start, after);
    anchor = caretFirst ? end : start;
    caret = caretFirst ? start : end;
}

bool Editor::Undo()
{
    if (!undo.CanUndo()) return false;
    EditorState state = undo.Pop();
    document = state.document;
    caret = state.caret;
    anchor = state.anchor;
    return true;
}
