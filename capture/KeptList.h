// The clip list kept across editor runs while the user has chosen so (the settings menu): its
// items go to the kept-items file (cliplist/KeptItems.h) after every change, and the first bar of
// a run takes them back. The clipboard history is never kept.
#pragma once

// At a band's opening, before its list is filled from savedItems: the first of the run reads the
// file, and its items that savedItems lacks go below them.
void ReadKeptListOnce();
// After a change of the list's items (a capture, a deletion, the history view left, the bar
// closed): the file written anew with them; `fromSaved` when savedItems holds them (a closing bar).
void KeepList(bool fromSaved = false);
// The choice turned on in mid-run: a file not read this run gives the list its items that the
// list lacks, at the bottom, and then the file is written.
void StartKeepingList();
// Event 0x800: the run's items are gone and the file stays; the next bar reads it again.
void ForgetKeptListRead();
