// Proves the heap check of the test programs works: this test writes one byte past a heap block
// on purpose. Run under WINEDEBUG=warn+heap (set by its ctest entry), the check after the test
// must report the damage; ctest passes this program only when it does.
#include <gtest/gtest.h>
#include <windows.h>

TEST(HeapCanary, ByteWrittenPastABlockIsReported)
{
    HANDLE heap = GetProcessHeap();
    auto* block = static_cast<volatile char*>(HeapAlloc(heap, 0, 13));
    ASSERT_NE(nullptr, block);
    block[13] = 'x';
    // Kept until the check after this test has seen it; the process ends right after.
}
