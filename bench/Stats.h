#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

// Summary of a list of timings in microseconds.
struct Stats {
    double mean = 0, median = 0, p99 = 0, max = 0;

    static Stats Of(std::vector<double> samples) {
        Stats s;
        if (samples.empty())
            return s;
        std::sort(samples.begin(), samples.end());
        s.mean = std::accumulate(samples.begin(), samples.end(), 0.0) / double(samples.size());
        s.median = samples[samples.size() / 2];
        s.p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
        s.max = samples.back();
        return s;
    }

    void Print(const std::string& name) const {
        std::printf("  %-46s mean %8.1f us   median %8.1f us   p99 %8.1f us   max %8.1f us\n", name.c_str(),
                    mean, median, p99, max);
    }
};

// The middle of a list of figures (0 for none).
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// How long a piece of work takes, in milliseconds.
inline double Ms(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}
