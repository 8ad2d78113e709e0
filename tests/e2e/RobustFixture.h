// The clip bar under bad input and long random use. Besides the clip bar fixture: every message
// box of the plug-in is recorded instead of shown, every heap block it allocates is guarded, its
// beeps are counted, and the windows it leaves behind can be listed.
#pragma once
#include "e2e/ClipBarFixture.h"
#include "support/HeapGuard.h"
#include "support/ImportPatch.h"
#include "support/MessageBoxHook.h"
#include <memory>
#include <set>
#include <string>
#include <vector>

class RobustFixture : public ClipBarFixture {
protected:
    void BeforeOpeningTheBar() override
    {
        baseline = ThreadWindows();
        Instrument();
    }
    void TearDown() override
    {
        Uninstrument();
        HostFixture::TearDown();
    }
    // Closes the host (the plug-in is unloaded) and opens it again with other options.
    void ReopenHost(const HostSetup& other)
    {
        Uninstrument();
        Reopen(other);
        ASSERT_TRUE(OpenProblems().empty()) << OpenProblems();
        baseline = ThreadWindows();
        Instrument();
    }

    HMODULE Module() { return Host().Plugins().at(0).module; }
    int Beeps() const { return beeper ? beeper->Count() : 0; }

    // Every window of this thread, children included.
    static std::set<HWND> ThreadWindows()
    {
        std::set<HWND> windows;
        EnumThreadWindows(GetCurrentThreadId(), AddWithChildren, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }
    // Windows of the kinds the plug-in makes (dialogs, toolbar, list, tooltips) made since the
    // host was opened and still there, by class. The host may make windows of its own meanwhile
    // (a new rebar), never of these kinds.
    std::vector<std::string> LeftoverWindows()
    {
        static const char* const kinds[] = {"#32770", "ToolbarWindow32", "ComboBox", "ComboLBox", "tooltips_class32"};
        std::vector<std::string> left;
        for (HWND window : ThreadWindows()) {
            if (baseline.count(window) != 0) continue;
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            for (const char* kind : kinds) {
                if (lstrcmpiA(name, kind) == 0) left.push_back(name);
            }
        }
        return left;
    }

    void EmptyTheClipboard()
    {
        PublishClipboard([] {});
    }
    // Puts exactly these bytes on the clipboard as one block of `format` (no zero is added).
    void PutClipboard(UINT format, const void* data, size_t size)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        ASSERT_NE(nullptr, block);
        memcpy(GlobalLock(block), data, size);
        GlobalUnlock(block);
        PublishClipboard([&] { SetClipboardData(format, block); });
    }
    void CopyText(const std::string& text) { PutClipboard(CF_TEXT, text.c_str(), text.size() + 1); }

    std::unique_ptr<MessageBoxHook> boxes;
    std::unique_ptr<HeapGuard> guard;

private:
    static BOOL CALLBACK AddWithChildren(HWND window, LPARAM param)
    {
        auto* windows = reinterpret_cast<std::set<HWND>*>(param);
        windows->insert(window);
        EnumChildWindows(window, AddChild, param);
        return TRUE;
    }
    static BOOL CALLBACK AddChild(HWND window, LPARAM param)
    {
        reinterpret_cast<std::set<HWND>*>(param)->insert(window);
        return TRUE;
    }
    void Instrument()
    {
        boxes = std::make_unique<MessageBoxHook>(Module());
        guard = std::make_unique<HeapGuard>(Module());
        beeper = std::make_unique<BeepCounter>(Module());
        ASSERT_TRUE(boxes->Installed() && guard->Installed() && beeper->Installed());
    }
    // Before the plug-in is unloaded: the patches live in its import table.
    void Uninstrument()
    {
        if (guard) {
            std::vector<std::string> damage = guard->Violations();
            guard.reset();
            EXPECT_TRUE(damage.empty()) << "written past a heap block: " << damage.front();
        }
        beeper.reset();
        boxes.reset();
    }

    std::set<HWND> baseline;
    std::unique_ptr<BeepCounter> beeper;
};
