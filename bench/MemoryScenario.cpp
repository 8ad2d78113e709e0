// Item 6: the process's memory after a few and after many mixed commands.
#include "bench/BenchHost.h"
#include "bench/Scenarios.h"
#include "res/resource.h"
#include <psapi.h>
#include <cstdio>
#include <functional>

static size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) return 0;
    // Wine leaves PrivateUsage at 0 and fills PagefileUsage with the Linux process's resident
    // anonymous memory (its own Unix side included): the nearest figure it gives.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

// Bytes in use in every heap of the process: what the plug-in, the host and the system's
// controls have allocated and not yet freed.
static size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    size_t total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

void RunMemory(const BenchConfig& config, BenchResults& results)
{
    BenchHost host(config.pluginPath);
    if (!OpenWithBand(host, results)) return;
    std::string document;
    for (int i = 0; i < 12; ++i) document += Format("Memory line %02d: ｶﾀｶﾅ and 漢字 text\r\n", i);

    // One round of 20 commands; captures and copies cycle through a fixed set of texts, so the items
    // kept are the same after a few rounds.
    int k = 0;
    auto capture = [&](int id) {
        host.SetCaret(k % 5, 7);
        host.Command(id);
    };
    const std::vector<std::function<void()>> round = {
        [&] { capture(ID_SAVE_LINE); },
        [&] { capture(ID_SAVE_TO_CARET); },
        [&] { capture(ID_SAVE_FROM_CARET); },
        [&] { host.App().Edit().Select({k % 5, 0}, {k % 5 + 2, 4}); host.Command(ID_SAVE_SELECTION); },
        [&] { host.App().Edit().Select({0, 0}, {10, 0}); host.SetCtrl(true); host.Command(ID_SAVE_SELECTION); host.SetCtrl(false); },
        [&] { host.Choose(k % host.ItemCount()); },
        [&] { host.SetCaret((k + 2) % 5, 0); host.Command(ID_SAVE_LINE); },
        [&] { host.Choose(1); },
        [&] { host.Copy(Format("copied text %03d", (k + 20) % 40)); },
        [&] { host.Copy(Format("copied text %03d", k % 40)); },
        [&] { host.Command(ID_SHOW_HISTORY); },
        [&] { host.Copy(Format("copied text %03d", (k + 7) % 40)); },
        [&] { host.Command(ID_SHOW_HISTORY); },
        [&] { host.Command(ID_HOLD_LIST); },
        [&] { host.Command(ID_HOLD_LIST); },
        [&] {
            host.Command(ID_SHOW_PALETTE);
            HWND palette = host.Palette();
            SendMessageA(GetDlgItem(palette, IDC_ALNUM), BM_SETCHECK, BST_CHECKED, 0);
            SendMessageA(GetDlgItem(palette, IDC_FULL_WIDTH), BM_SETCHECK, BST_CHECKED, 0);
        },
        [&] { host.Choose(0); },
        [&] { host.Command(ID_SHOW_PALETTE); },
        [&] { host.Command(ID_EXIT_TOOL); },
        [&] { host.OpenBand(); },
    };

    auto reading = [&](int commands) {
        host.SetDocument(document);
        host.ForgetHostHistory();
        host.ForgetTimes();
        PumpFor(50);
        std::vector<std::string> items = host.Items();
        size_t bytes = 0;
        for (const std::string& item : items) bytes += item.size();
        // Window-system objects a leak would pile up: pictures, fonts and image lists (GDI), windows
        // and menus (USER).
        BenchResults::Memory m{commands, PrivateBytes(), HeapBytesInUse(), items.size(), bytes,
                               GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                               GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
        results.memory.push_back(m);
        printf("  after %5d commands: private %8.1f KB, heap in use %8.1f KB, %zu items (%zu bytes), "
               "%lu GDI and %lu USER objects\n", commands, m.privateBytes / 1024.0, m.heapBytes / 1024.0, m.items,
               m.itemBytes, static_cast<unsigned long>(m.gdiObjects), static_cast<unsigned long>(m.userObjects));
        fflush(stdout);
    };

    printf("6. memory after mixed commands\n");
    host.SetDocument(document);
    int done = 0;
    for (int target : config.memoryReadings) {
        while (done < target) {
            round[static_cast<size_t>(done) % round.size()]();
            ++done;
            if (done % round.size() == 0) {
                ++k;
                host.SetDocument(document);
                host.ForgetHostHistory();
                host.ForgetTimes();
            }
        }
        reading(done);
    }
    CheckNoBoxes(host, results);
}
