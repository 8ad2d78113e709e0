#include "bench/Stats.h"
#include <algorithm>
#include <cstdarg>
#include <cstdio>

double Stopwatch::ElapsedMs() const
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Linear interpolation between the two nearest ranks.
static double Quantile(const std::vector<double>& sorted, double q)
{
    double at = q * static_cast<double>(sorted.size() - 1);
    size_t low = static_cast<size_t>(at);
    size_t high = std::min(low + 1, sorted.size() - 1);
    return sorted[low] + (sorted[high] - sorted[low]) * (at - static_cast<double>(low));
}

Summary Summarize(std::vector<double> samples)
{
    Summary s;
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.count = samples.size();
    s.median = Quantile(samples, 0.5);
    s.q1 = Quantile(samples, 0.25);
    s.q3 = Quantile(samples, 0.75);
    s.min = samples.front();
    s.max = samples.back();
    return s;
}

std::string Format(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string Describe(const Summary& s)
{
    return Format("median %9.3f ms  (IQR %.3f-%.3f, min %.3f, max %.3f, n %zu)", s.median, s.q1, s.q3, s.min, s.max,
                  s.count);
}
