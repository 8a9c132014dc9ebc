#pragma once
// The tests' usual controller: the simulator at a hundredth of real time (a second of motion
// lasts 10 ms), on a pseudo-terminal linked at `linkPath` (none for an empty path).
#include "Simulator.h"

#include <gtest/gtest.h>

#include <string>

inline ::testing::AssertionResult StartFastSimulator(kvtsim::Simulator& simulator,
                                                     const std::string& linkPath = {}) {
    kvtsim::Options options;
    options.timeScale = 0.01;
    simulator.SetOptions(options);
    std::string error;
    if (!simulator.Start(linkPath, &error))
        return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}
