#include "support/HeapGuard.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstdio>

namespace {

// After every test the process's heaps are checked, so a damaged heap is pinned to the test that
// damaged it. Under WINEDEBUG=warn+heap the check also covers the bytes just past each block.
class HeapCheck : public testing::EmptyTestEventListener {
public:
    bool damaged = false;

private:
    void OnTestEnd(const testing::TestInfo& test) override
    {
        if (ProcessHeapsValid()) return;
        damaged = true;
        fprintf(stderr, "err:heap-check: a heap is damaged after %s.%s\n", test.test_suite_name(), test.name());
        fflush(stderr);
    }
};

} // namespace

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    testing::InitGoogleTest(&argc, argv);
    auto* heapCheck = new HeapCheck;
    testing::UnitTest::GetInstance()->listeners().Append(heapCheck);
    int result = RUN_ALL_TESTS();
    // A run that checked nothing is no pass: a filter that matches no test, or a skipped test.
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    if (run.test_to_run_count() == 0 || run.skipped_test_count() > 0) {
        fprintf(stderr, "error: %d tests run, %d of them skipped: a run that checks nothing is not a pass\n",
                run.test_to_run_count(), run.skipped_test_count());
        return 1;
    }
    return heapCheck->damaged ? 1 : result;
}
