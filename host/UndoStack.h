// Undo by snapshots: before each change the editor hands over the state it is about to leave.
// While a group is open only the first change of the group is kept, so one undo step takes
// back everything the group did.
#pragma once
#include "host/Document.h"
#include "host/TextPos.h"
#include <deque>

struct EditorState {
    Document document;
    TextPos caret;
    TextPos anchor;
};

class UndoStack {
public:
    // Called before a change, with the state before it.
    void Record(const EditorState& before);
    bool CanUndo() const { return !steps.empty(); }
    // The state to go back to; only valid when CanUndo().
    EditorState Pop();
    void Clear();

    // Groups nest; a close without an open group is ignored.
    void OpenGroup();
    void CloseGroup();
    bool GroupOpen() const { return groupDepth > 0; }

private:
    static const size_t kMaxSteps = 500;
    std::deque<EditorState> steps;
    int groupDepth = 0;
    bool groupRecorded = false;
};
