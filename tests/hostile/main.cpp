// Runs the hostile-tree tests under a watchdog: a test that hangs is killed, never waited on.
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Generous for the largest test (several GiB scanned under the sanitizers), yet far below
// the test runner's own timeout, so a hang shows up as this test's failure.
constexpr unsigned kSecondsPerTest = 60;

class Watchdog final : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { ::alarm(kSecondsPerTest); }
    void OnTestEnd(const testing::TestInfo&) override { ::alarm(0); }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    return RUN_ALL_TESTS();
}
