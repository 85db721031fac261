// Work done in a child process that may change what a test process must not: its mount
// namespace (a read-only mount, a small file system that fills up) or its user (an
// unprivileged one, whom permissions stop, as root they never do).
#pragma once

#include <functional>
#include <string>

namespace testing_support {

struct IsolatedResult {
    // False when the child could not be set up here (no namespaces, no such user); why says
    // what failed, for the test's skip message.
    bool available = false;
    std::string why;
    // What the body returned.
    std::string reply;
};

// Runs setup, then body, in a forked child, and returns body's result. setup returns an empty
// string when the child is ready, else why it cannot be made ready. Nothing the child changes
// reaches the test process.
IsolatedResult RunIsolated(const std::function<std::string()>& setup,
                           const std::function<std::string()>& body);

// Setups, each returning "" on success or why it failed:
// a mount namespace of the child's own, in which nothing mounted is seen outside;
std::string EnterPrivateMounts();
// path mounted again over itself, read-only (after EnterPrivateMounts);
std::string MountReadOnly(const std::string& path);
// an empty tmpfs of sizeBytes at path (after EnterPrivateMounts);
std::string MountSmallTmpfs(const std::string& path, long sizeBytes);
// the unprivileged user and group 65534 (nobody), with no supplementary groups.
std::string BecomeNobody();

}  // namespace testing_support
