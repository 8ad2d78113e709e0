// Makes one chosen operator new of this test program throw std::bad_alloc.
#pragma once

// The allocation `skip` allocations from now fails (0: the next one); -1 disarms.
void FailAllocationAfter(int skip);
// True once the armed failure has been thrown.
bool AllocationFailureFired();
