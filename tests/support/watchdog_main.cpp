// The main of every GoogleTest executable: a test that hangs is ended by a watchdog with a
// message naming it, never waited on, so the suite's runner sees a failure instead of a stall.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

// Generous for the largest test (gigabytes scanned under the sanitizers), yet below the test
// runner's own timeout, so a hang shows up as this test's failure.
constexpr std::chrono::seconds kSecondsPerTest{60};

class Watchdog final : public testing::EmptyTestEventListener {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() override {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

private:
    void OnTestStart(const testing::TestInfo& test) override {
        std::lock_guard lock(mutex_);
        current_ = std::string(test.test_suite_name()) + "." + test.name();
        deadline_ = std::chrono::steady_clock::now() + kSecondsPerTest;
        running_ = true;
        changed_.notify_all();
    }
    void OnTestEnd(const testing::TestInfo&) override {
        std::lock_guard lock(mutex_);
        running_ = false;
        changed_.notify_all();
    }

    void Watch() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            if (!running_) {
                changed_.wait(lock);
            } else if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout &&
                       running_ && std::chrono::steady_clock::now() >= deadline_) {
                std::fprintf(stderr, "\n%s did not end within %lld seconds: stopped\n",
                             current_.c_str(), static_cast<long long>(kSecondsPerTest.count()));
                std::fflush(stderr);
                std::_Exit(124);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string current_;
    std::chrono::steady_clock::time_point deadline_;
    bool running_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    auto* watchdog = new Watchdog;  // the listener list owns and deletes it
    testing::UnitTest::GetInstance()->listeners().Append(watchdog);
    return RUN_ALL_TESTS();
}
