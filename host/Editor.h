// The editing model behind the view: document, caret, selection and undo, without windows.
// The selection runs from `anchor` to `caret`; it is empty when both are equal.
#pragma once
#include <windows.h>
#include "host/Document.h"
#include "host/TextPos.h"
#include "host/UndoStack.h"
#include <string>

class Editor {
public:
    // Replaces the document; caret at the start, no selection, nothing to undo.
    void Load(const std::string& text);
    const Document& Doc() const { return document; }
    std::string Text() const { return document.Text(); }

    TextPos Caret() const { return caret; }
    TextPos Anchor() const { return anchor; }
    bool HasSelection() const { return caret != anchor; }
    TextPos SelectionStart() const { return caret < anchor ? caret : anchor; }
    TextPos SelectionEnd() const { return caret < anchor ? anchor : caret; }
    // The selected text, lines joined with CR LF ("" when nothing is selected).
    std::string SelectedText() const;

    // Puts the caret at `to` (clamped to a real position); with `extend` the anchor stays, so the
    // selection grows or shrinks, otherwise the selection is cancelled.
    void MoveCaret(TextPos to, bool extend);
    void Select(TextPos from, TextPos to);
    void SelectAll();
    // Cancels the selection, leaving the caret at the selection's end.
    void CollapseToEnd();

    // Inserts at the caret; the caret ends behind the text. With `replaceSelection` a selection
    // is deleted first (typing, pasting); otherwise it is only cancelled.
    void Insert(const std::string& text, bool replaceSelection);
    // Deletes the selection, or else the character before / after the caret (a double-byte
    // character as a whole, a line break joins the lines).
    void Backspace();
    void DeleteForward();
    bool DeleteSelection();
    // Converts the selected text (see ConvertText); the converted text stays selected.
    void ConvertSelection(UINT flags);

    void OpenUndoGroup() { undo.OpenGroup(); }
    void CloseUndoGroup() { undo.CloseGroup(); }
    bool CanUndo() const { return undo.CanUndo(); }
    bool Undo();

private:
    void RecordUndo();

    Document document;
    TextPos caret;
    TextPos anchor;
    UndoStack undo;
};
