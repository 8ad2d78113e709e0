// Makes one chosen allocation of this test program fail: operator new throws std::bad_alloc, and
// a HeapAlloc call of the program (the plug-in's parts allocate so) answers null.
#pragma once

// The allocation `skip` allocations from now fails (0: the next one); -1 disarms.
void FailAllocationAfter(int skip);
// True once the armed failure has happened.
bool AllocationFailureFired();
