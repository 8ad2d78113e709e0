// Timing with the performance counter, and the summary of repeated samples.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart() { QueryPerformanceCounter(&start); }
    double ElapsedMs() const;

private:
    LARGE_INTEGER start;
};

struct Summary {
    size_t count = 0;
    double median = 0;
    double min = 0;
    double max = 0;
    double q1 = 0;   // first and third quartiles: the spread without the odd outlier
    double q3 = 0;
};

Summary Summarize(std::vector<double> samples);
// "median 1.234 ms (IQR 1.200-1.300, min 1.100, max 2.000, n 7)"
std::string Describe(const Summary& s);
std::string Format(const char* format, ...);
