// The kept-items file: the clip list's items kept across editor runs (while "ClipList_Keep" is 1)
// in Vexaro-clips.txt beside the settings file in use. Code page 932 text that a person can read
// and edit in the editor itself.
//
// Format, version 1 (the plug-in writes CR LF after every line, the last one included):
//
//   VexaroClips 1                       line 1: the format and its version
//   お世話になっております。            one item per line, top of the list first
//   株式会社ソ表\r\n営業部 山田         an item with a line break (CR LF) inside
//   C:\\Users\\表                       an item with backslashes
//
// - Line 1 is "VexaroClips 1". Read, it may end in spaces and tabs. A first line that starts
//   with "VexaroClips " and goes on otherwise is another version; any other first line (an empty
//   file too) is not this file at all.
// - Every further line is one item. A line that is empty or holds only spaces and tabs is no
//   item and is skipped. Read, a line ends at CR LF, LF or a lone CR, and the last line may end
//   without one.
// - The escape character is the backslash (0x5C, shown as ¥ by Japanese fonts):
//       \\   a backslash        \r   CR        \n   LF        \xHH   the byte HH (hex, 01-FF)
//   A backslash followed by anything else, or ending its line, damages the file; so does \x00.
// - The second byte of a double-byte character is never an escape, even where it is 0x5C (表 is
//   95 5C, ソ is 83 5C): a lead byte (81-9F, E0-FC) followed by a second byte (40-7E, 80-FC) is
//   one character, copied as it stands. A lead byte without a valid second byte after it in the
//   same line damages the file.
// - Written as \xHH: a lead byte without a valid second byte (an item cut inside a character),
//   the control bytes 01-1F but tab, CR and LF, 7F, 80, A0 and FD-FF (so that the file stays
//   code page 932 text an editor keeps as it is), and a space or tab that ends an item (so that
//   an editor that trims lines cannot change the item, and no item reads as a blank line).
//   Everything else is written as it is, tabs and leading spaces included. So what the plug-in
//   writes reads back byte for byte, and a hand edit with LF line ends, no last line break or
//   blank lines between items reads the same as the file the plug-in would write.
// - Items are the clip list's: at most 5000 bytes, no zero byte, different from each other with
//   letter case ignored. Read, a longer item damages the file (it is never cut: the next write
//   would lose its end without a word); of items equal with letter case ignored the first (the
//   higher in the list) is kept and the others are dropped, as a capture of that text would.
//
// The file is replaced whole: written into a new file in the same folder, flushed, then moved
// over the old one in one step, so a crash, a full disk or a write error leaves the previous file
// as it was. A file that cannot be read as this format, or that is larger than 16 MB, is never
// overwritten: it is renamed aside and the list starts empty.
#pragma once
#include "cliplist/DimPack.h"
#include <cstddef>

// The largest kept-items file read or written: 16 MB.
const unsigned long kKeptFileLimit = 16ul * 1024 * 1024;

enum class KeptRead {
    none,       // no such file (or folder): the list starts empty
    read,       // the items are the file's
    setAside,   // the file could not be read as kept items: renamed aside, the list starts empty
    failed,     // the file is there but could neither be read nor set aside: the caller must not
                // write the file during this run
};

// Why a file was set aside, or could not be read.
enum class KeptFault {
    none,
    notKept,       // the first line names no kept-items file (or the file is empty)
    otherVersion,  // "VexaroClips " with another version
    badEscape,     // a backslash not followed by \ r n or xHH, or \x00
    brokenChar,    // a lead byte without its second byte
    zeroByte,      // a zero byte in a line
    longItem,      // an item over 5000 bytes
    tooLarge,      // the file is larger than 16 MB
    unreadable,    // the file could not be opened or read (a lock, no permission, an I/O error)
    noMemory,      // memory ran out, or the items could not be compared
};

struct KeptProblem {
    KeptFault fault = KeptFault::none;
    int line = 0;   // the line of a fault in the text (1 is the first line), else 0
};

// Reads the kept-items file at `path` into `items`, in file order (top of the list first),
// replacing what `items` held; on any outcome but `read` it is left empty. On `setAside` the file
// was renamed, in its folder, to "<name>.aside-YYYYMMDD-hhmmss[-N]<extension>" (local time; N
// from 2 when that name is taken), and `asideName` gets that file name without its folder (""
// when it does not fit `asideCapacity` characters with its zero). `problem`, when given, says why
// a file was set aside or failed.
KeptRead ReadKeptItems(const wchar_t* path, CDimPack& items, wchar_t* asideName, size_t asideCapacity,
                       KeptProblem* problem = nullptr);

enum class KeptWrite {
    written,
    tooLarge,   // the file would be larger than 16 MB: not written, the old file is kept
    badItem,    // an item over 5000 bytes (the file could not read it back): not written
    failed,     // the system refused (GetLastError() says why): the old file is kept
};

// Replaces the kept-items file at `path` with the `count` texts (top of the list first; empty
// texts are left out). The whole file goes into a new file "<path>.<process>-<n>.tmp" in the same
// folder, which is flushed and then moved over `path` with MoveFileExW(MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH); on any failure the new file is deleted and `path` is left untouched.
KeptWrite WriteKeptItems(const wchar_t* path, const char* const* texts, int count);
KeptWrite WriteKeptItems(const wchar_t* path, const CDimPack& items);
