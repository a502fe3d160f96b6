#include <gtest/gtest.h>

#include <thread>

#include "app/com_apartment_win32.h"

namespace tq::app {
namespace {

// Each case runs on a fresh thread, so it starts outside any apartment.
template <typename Body>
void on_fresh_thread(Body body) {
    std::thread worker(body);
    worker.join();
}

TEST(ComApartment, EntersAndLeavesOnlyWhenItEntered) {
    on_fresh_thread([] {
        const ComApartment outer(COINIT_MULTITHREADED);
        EXPECT_EQ(outer.hr, S_OK);
        EXPECT_TRUE(outer.must_leave);
        {
            const ComApartment inner(COINIT_MULTITHREADED);
            EXPECT_EQ(inner.hr, S_FALSE);
            EXPECT_FALSE(inner.must_leave);
        }
        // The inner guard did not leave: the thread is still in the apartment.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
    });
}

TEST(ComApartment, AcceptsAThreadInTheOtherApartment) {
    on_fresh_thread([] {
        const ComApartment sta(COINIT_APARTMENTTHREADED);
        ASSERT_EQ(sta.hr, S_OK);
        const ComApartment mta(COINIT_MULTITHREADED);
        EXPECT_EQ(mta.hr, S_OK);
        EXPECT_FALSE(mta.must_leave);
    });
}

}  // namespace
}  // namespace tq::app
