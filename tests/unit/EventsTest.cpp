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
    std::thread setter([&] {
        std::this_thread::sleep_for(milliseconds(30));
        event.Set();
    });
    EXPECT_TRUE(event.WaitFor(60000)) << "woken by the Set, not by the time limit";
    setter.join();
}

TEST(NamedEvent, StopRequestEndsAWaitAtOnceWithoutSignalling) {
    TNamedEvent event("e", false);
    std::stop_source stop;
    bool result = true;
    // A wait of a day: the join below returns only because the stop request ended it.
    std::thread waiter([&] { result = event.WaitFor(86400000u, stop.get_token()); });
    std::this_thread::sleep_for(milliseconds(20));
    stop.request_stop();
    waiter.join();
    EXPECT_FALSE(result);
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
    std::thread stopper([&] {
        std::this_thread::sleep_for(milliseconds(20));
        stop.request_stop();
    });
    // A deadline a day away: the call returns only because the stop request ended it.
    EXPECT_FALSE(event.WaitForSetAfter(event.Generation(), steady_clock::now() + std::chrono::hours(24),
                                       stop.get_token()));
    stopper.join();
}
