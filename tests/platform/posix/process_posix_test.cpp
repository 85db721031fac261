// What each program does first on POSIX: standard descriptors that a closed one cannot be taken
// from (the program is run closed-stream on every system by the pelkor-list tests).
#include "platform/process.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "support/posix/isolation.hpp"

namespace {

// With stderr closed, the next file opened would become descriptor 2 and receive every
// message; after PrepareProcess it does not.
TEST(PrepareProcess, ReopensClosedStandardDescriptorsOnTheNullDevice) {
    const auto run = testing_support::RunIsolated(
        [] { return std::string(); },
        [] {
            ::close(0);
            ::close(2);
            platform::PrepareProcess();
            const int fd = ::open("/dev/null", O_RDONLY);
            std::string reply =
                fd > 2 ? "next descriptor above 2" : "next descriptor " + std::to_string(fd);
            for (int standard : {0, 2}) {
                char target[64] = {};
                const std::string link = "/proc/self/fd/" + std::to_string(standard);
                if (::readlink(link.c_str(), target, sizeof target - 1) > 0) {
                    reply += std::string(", ") + std::to_string(standard) + "=" + target;
                }
            }
            return reply;
        });
    ASSERT_TRUE(run.available) << run.why;
    EXPECT_EQ(run.reply, "next descriptor above 2, 0=/dev/null, 2=/dev/null");
}

}  // namespace
