// The user guide's pictures: parts of the screen as the user sees them, open menus included.
#pragma once
#include "demo/PngWriter.h"
#include "host/HostApp.h"
#include <string>
#include <vector>

RECT ScreenRect(HWND window);
// The screen rectangle of a document line in the view.
RECT LineRect(HostApp& host, int line);
// The editor from its caption down to a little below `bottom`, and on to the end of the document
// line there, so no text is cut.
RECT EditorDownTo(HostApp& host, LONG bottom);
// The part `box` of the screen, written as `name` into `folder`; nothing when `folder` is empty.
void Picture(const std::string& folder, const char* name, RECT box);

// A popup menu as it showed: where it was, its items ("[x] " before a checked one) and the screen
// around it.
struct MenuShot {
    bool shown = false;
    RECT menu = {0, 0, 0, 0};
    std::vector<std::string> items;
    RECT taken = {0, 0, 0, 0}; // the part of the screen in `image`
    RgbImage image;
};

// Sends `open`, input that opens a menu; the menu runs a loop of its own until it closes, so the
// shot is taken from inside that loop once the menu shows (the screen's part `around` joined with
// the menu), and then `close` is sent: Enter chooses the highlighted item, Esc chooses nothing.
MenuShot ShotOfMenu(const std::vector<INPUT>& open, RECT around, const std::vector<INPUT>& close);
// The part `box` of a shot, written as `name` into `folder`; nothing when `folder` is empty.
void PictureOfShot(const std::string& folder, const char* name, const MenuShot& shot, RECT box);
