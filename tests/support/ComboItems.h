// The texts of a combo box's items, in order, as the user sees them in its list.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

std::vector<std::string> ComboItems(HWND combo);
