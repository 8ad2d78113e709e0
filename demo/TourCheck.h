// The tour's voice and its judge: each step is announced on stdout, and what it led to is compared
// with what the user should see. A difference is printed and fails the tour.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

void Say(const std::string& cp932);
// Returns `ok`; when false, prints what was wrong and counts a failure.
bool Check(bool ok, const std::string& what);
bool CheckEqual(const std::string& what, const std::string& actual, const std::string& expected);
bool CheckEqual(const std::string& what, const std::vector<std::string>& actual,
                const std::vector<std::string>& expected);
bool CheckAt(const std::string& what, HWND window, POINT expected);
int ChecksMade();
int ChecksFailed();

// Message boxes the tour did not plan for would wait for a user who is not there: while a guard
// lives, each is closed within half a second and fails the tour.
class StrayBoxGuard {
public:
    StrayBoxGuard();
    ~StrayBoxGuard();
    StrayBoxGuard(const StrayBoxGuard&) = delete;
    StrayBoxGuard& operator=(const StrayBoxGuard&) = delete;

private:
    UINT_PTR timer;
};
