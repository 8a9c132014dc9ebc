#pragma once

#include <algorithm>
#include <cstdio>
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
