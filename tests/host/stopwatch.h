// Time measured on the performance counter, for the benchmarks and the soak.
#ifndef NPDESKLAUNCH_TESTS_HOST_STOPWATCH_H
#define NPDESKLAUNCH_TESTS_HOST_STOPWATCH_H

#include <windows.h>

namespace nphost {

// Runs from when it is made or last restarted.
class Stopwatch {
  public:
    Stopwatch() { Restart(); }
    void Restart() { QueryPerformanceCounter(&start_); }
    double Seconds() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    }
    double Milliseconds() const { return Seconds() * 1000.0; }

  private:
    LARGE_INTEGER start_;
};

} // namespace nphost

#endif
