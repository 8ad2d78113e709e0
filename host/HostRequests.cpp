// The answers to the host messages a plug-in sends, and their log. Sizes count the terminating
// zero; a copy answers the bytes it wrote, zero included, and never cuts a double-byte
// character in two. A message that cannot be carried out (a null record, a line that does not
// exist, a command the host does not know) is answered 0 and logged all the same.
#include "host/HostApp.h"
#include "host/HostFrame.h"
#include "common/Sjis.h"
#include <cstring>

namespace {

HostPos ToEditPos(TextPos pos) { return {pos.column, pos.line}; }
TextPos ToTextPos(const HostPos& pos) { return {static_cast<int>(pos.line), static_cast<int>(pos.column)}; }

// Copies at most capacity - 1 bytes of `text`, never half a double-byte character, and a zero;
// answers the bytes written including the zero.
LRESULT CopyOut(const std::string& text, char* buffer, size_t capacity, std::string& copied)
{
    size_t n = SjisCutLength(text.c_str(), text.size(), capacity - 1);
    memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    copied.assign(text, 0, n);
    return static_cast<LRESULT>(n + 1);
}

} // namespace

LRESULT HostFrame::HandleHostMessage(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam)
{
    HostLogEntry entry;
    entry.message = message;
    entry.wParam = wParam;
    entry.lParam = lParam;
    entry.receiver = receiver;
    // The slot is taken now so messages sent while this one is handled are logged after it.
    MessageLog& log = app.Log();
    size_t slot = log.Entries().size();
    log.Add(entry);

    LRESULT result = 0;
    bool changed = false;
    HostAnswerHook hook = app.AnswerHook(); // a copy: the hook may replace itself
    if (hook && hook(message, wParam, lParam, result)) {
        entry.result = result;
        if (slot < log.Entries().size()) log.At(slot) = entry;
        return result;
    }
    switch (message) {
    case HM_REFRESH_STATUS:
        // The plug-in's state is the process's: every frame's menu entry follows it.
        app.RefreshPluginEntries(static_cast<UINT>(wParam));
        result = 1;
        break;
    case HM_GET_SEL_TEXT: {
        std::string text = editor.SelectedText();
        if (wParam == 0 || lParam == 0) {
            result = static_cast<LRESULT>(text.size() + 1);
        } else {
            entry.hasText = true;
            result = CopyOut(text, reinterpret_cast<char*>(lParam), wParam, entry.text);
        }
        break;
    }
    case HM_GET_LINE: {
        auto* request = reinterpret_cast<HostLineRequest*>(wParam);
        if (request == nullptr) break;
        entry.hasRequest = true;
        entry.request = *request;
        if (request->line >= static_cast<UINT>(editor.Doc().LineCount())) break; // no such line: 0
        const std::string& line = editor.Doc().Line(static_cast<int>(request->line));
        if (request->capacity == 0 || lParam == 0) {
            result = static_cast<LRESULT>(line.size() + 1);
        } else {
            entry.hasText = true;
            result = CopyOut(line, reinterpret_cast<char*>(lParam), request->capacity, entry.text);
        }
        break;
    }
    case HM_GET_CARET_POS:
    case HM_GET_SEL_START:
    case HM_GET_SEL_END: {
        // The position kind in wParam makes no difference here.
        auto* pos = reinterpret_cast<HostPos*>(lParam);
        if (pos == nullptr) break;
        entry.hasPos = true;
        entry.before = *pos;
        TextPos value = message == HM_GET_CARET_POS ? editor.Caret()
                        : message == HM_GET_SEL_START ? editor.SelectionStart()
                                                           : editor.SelectionEnd();
        *pos = ToEditPos(value);
        entry.after = *pos;
        result = 1;
        break;
    }
    case HM_CONVERT_POS: {
        auto* pos = reinterpret_cast<HostPos*>(wParam != 0 ? wParam : static_cast<WPARAM>(lParam));
        if (pos == nullptr) break;
        entry.hasPos = true;
        entry.before = *pos;
        *pos = ToEditPos(editor.Doc().Clamp(ToTextPos(*pos)));
        entry.after = *pos;
        result = 1;
        break;
    }
    case HM_EXEC_COMMAND:
        if (wParam == HC_SHOW_REBAR) {
            result = CreateRebar() ? 1 : 0;
        } else if (wParam == HC_CANCEL_SELECTION) {
            editor.CollapseToEnd();
            changed = true;
            result = 1;
        }
        break;
    case HM_INSERT_TEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        if (text == nullptr) break;
        entry.hasText = true;
        entry.text = text;
        editor.Insert(entry.text, false);
        changed = true;
        result = 1;
        break;
    }
    case HM_SET_SELECTION: {
        auto* from = reinterpret_cast<HostPos*>(wParam);
        auto* to = reinterpret_cast<HostPos*>(lParam);
        if (from == nullptr || to == nullptr) break;
        entry.hasPos = true;
        entry.before = *from;
        entry.after = *to;
        editor.Select(ToTextPos(*from), ToTextPos(*to));
        changed = true;
        result = 1;
        break;
    }
    case HM_SET_STATUS_TEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        entry.hasText = true;
        entry.text = text != nullptr ? text : "";
        SetStatusText(entry.text);
        result = 1;
        break;
    }
    case HM_CONVERT_SELECTION:
        editor.ConvertSelection(static_cast<UINT>(wParam));
        changed = true;
        result = 1;
        break;
    case HM_EDIT_BRACKET:
        if (wParam == 0) editor.OpenUndoGroup();
        else editor.CloseUndoGroup();
        result = 1;
        break;
    default:
        break; // logged only
    }
    entry.result = result;
    if (slot < log.Entries().size()) log.At(slot) = entry; // unless a handler cleared the log
    if (changed) view.Refresh();
    return result;
}
