// Timing and memory figures, and fresh child processes to take them in, so that what the
// benchmark did before (making photos, earlier runs) is not counted.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

namespace glimmora::bench {

template <typename F>
double SecondsTaken(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename F>
double BestSeconds(int runs, F&& f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) best = std::min(best, SecondsTaken(f));
    return best;
}

// Peak resident set size of this process so far, in KiB (getrusage ru_maxrss).
long MaxRssKb();

// Forks; the child runs `child` with the write end of a pipe and exits with the status it
// returns (it may also replace itself with exec). The parent collects everything written to
// the pipe into `output`. True only if the child exited normally with status 0.
bool RunInChild(const std::function<int(int writeFd)>& child, std::string& output);

}  // namespace glimmora::bench
