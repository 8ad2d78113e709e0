#include "host/UndoStack.h"

void UndoStack::Record(const EditorState& before)
{
    if (groupDepth > 0) {
        if (groupRecorded) return;
        groupRecorded = true;
    }
    steps.push_back(before);
    if (steps.size() > kMaxSteps) steps.pop_front();
}

EditorState UndoStack::Pop()
{
    // Undoing in the middle of a group ends the group: its later changes start a new step.
    groupDepth = 0;
    groupRecorded = false;
    EditorState state = steps.back();
    steps.pop_back();
    return state;
}

void UndoStack::Clear()
{
    steps.clear();
    groupDepth = 0;
    groupRecorded = false;
}

void UndoStack::OpenGroup()
{
    if (groupDepth++ == 0) groupRecorded = false;
}

void UndoStack::CloseGroup()
{
    if (groupDepth == 0) return;
    if (--groupDepth == 0) groupRecorded = false;
}
