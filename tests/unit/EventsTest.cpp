#include "core/Events.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono;

TEST(NamedEvent, StaysSignalledUntilResetAndTimesOutOtherwise) {
    TNamedEvent event("EventPortStringName", false);
    EXPECT_EQ(event.Name(), "EventPortStringName");
    EXPECT_FALSE(event.WaitFor(20));

    event.Set();
    // Manual reset: every waiter sees it, as often as it looks.
    EXPECT_TRUE(event.WaitFor(0));
    EXPECT_TRUE(event.WaitFor(0));
    event.Reset();
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.WaitFor(0));

    TNamedEvent ready("EventReadFuncReadyName", true);
    EXPECT_TRUE(ready.WaitFor(0));
}

TEST(NamedEvent, WakesAWaiterInAnotherThreadPromptly) {
    TNamedEvent event("e", false);
    const auto start = steady_clock::now();
    std::thread setter([&] {
        std::this_thread::sleep_for(milliseconds(30));
        event.Set();
    });
    EXPECT_TRUE(event.WaitFor(5000));
    EXPECT_LT(steady_clock::now() - start, milliseconds(2000));
    setter.join();
}

TEST(NamedEvent, StopRequestEndsAWaitAtOnceWithoutSignalling) {
    TNamedEvent event("e", false);
    std::stop_source stop;
    bool result = true;
    const auto start = steady_clock::now();
    std::thread waiter([&] { result = event.WaitFor(10000, stop.get_token()); });
    std::this_thread::sleep_for(milliseconds(20));
    stop.request_stop();
    waiter.join();
    EXPECT_FALSE(result);
    EXPECT_LT(steady_clock::now() - start, milliseconds(5000));
    EXPECT_FALSE(event.IsSet());
}

TEST(NamedEvent, WaitingForALaterSetIgnoresAnEarlierOneAndEndsOnStop) {
    TNamedEvent event("e", false);
    event.Set();
    const quint64 seen = event.Generation();
    EXPECT_FALSE(event.WaitForSetAfter(seen, steady_clock::now() + milliseconds(30)))
        << "still signalled, but by a Set() that was already seen";
    std::thread setter([&] {
        std::this_thread::sleep_for(milliseconds(20));
        event.Set();
    });
    EXPECT_TRUE(event.WaitForSetAfter(seen, steady_clock::now() + milliseconds(5000)));
    setter.join();

    std::stop_source stop;
    const auto start = steady_clock::now();
    std::thread stopper([&] {
        std::this_thread::sleep_for(milliseconds(20));
        stop.request_stop();
    });
    EXPECT_FALSE(event.WaitForSetAfter(event.Generation(), start + milliseconds(5000), stop.get_token()));
    EXPECT_LT(steady_clock::now() - start, milliseconds(2000));
    stopper.join();
}
