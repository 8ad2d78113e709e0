#include "AllocFailure.h"
#include <cstdlib>
#include <new>

static int countdown = -1;
static bool fired = false;

void FailAllocationAfter(int skip)
{
    countdown = skip;
    fired = false;
}

bool AllocationFailureFired()
{
    return fired;
}

// Replaces the program's global allocation; unarmed it only allocates.
void* operator new(std::size_t size)
{
    if (countdown >= 0 && countdown-- == 0) {
        fired = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
