// The tour's hands: keys, typed text and mouse clicks sent through the system's input queue, as a
// user's keyboard and mouse make them, with the messages they cause handled in between.
#pragma once
#include <windows.h>
#include <initializer_list>
#include <string>
#include <vector>

void Pump(DWORD ms);
INPUT KeyInput(WORD key, bool up);
// A mouse event at the pointer's place: MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTUP, ...
INPUT MouseInput(DWORD flags);
// Key presses: `key` pressed while holding the modifiers.
void AddPress(std::vector<INPUT>& inputs, std::initializer_list<WORD> modifiers, WORD key);
// Queues all presses before handling any: a menu opened by the first one runs its own loop and
// takes the rest from the queue.
void Press(std::vector<INPUT> inputs);
void Press(std::initializer_list<WORD> modifiers, WORD key);
// Types a CP932 text the way an input method delivers it: one Unicode character at a time.
void Type(const std::string& cp932);
// The mouse moved onto a point of the screen and left there, as for a tooltip.
void HoverAt(POINT screen);
// A left click at a point of the screen, with the modifiers held.
void ClickAt(POINT screen, std::initializer_list<WORD> modifiers = {});
// A left-button drag from one point of the screen to another, in a few steps.
void DragOnScreen(POINT from, POINT to);
// The centre of a window, or of a rectangle of it, in screen coordinates.
POINT CentreOf(HWND window);
POINT CentreOf(HWND window, RECT client);
