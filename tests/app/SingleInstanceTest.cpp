// SPDX-License-Identifier: GPL-3.0-or-later
// Two starts of the program: the second finds the first, asks it to come to the front and
// ends at once, while the first goes on running.

#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#ifndef QX_EXPLORER_BINARY
#error "QX_EXPLORER_BINARY must name the quorvin-explorer binary"
#endif

using namespace qx::test;
using namespace std::chrono_literals;

TEST(SingleInstance, SecondStartEndsAndLeavesTheFirstRunning) {
    TempDir runtime;
    TempDir config;
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);

    ChildProcess first;
    first.start({QX_EXPLORER_BINARY});
    const auto socket = runtime.path() / "quorvin-explorer.socket";
    for (int i = 0; i < 200 && !std::filesystem::exists(socket); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(std::filesystem::exists(socket)) << "the first instance does not listen";

    const auto started = std::chrono::steady_clock::now();
    const std::string second = std::string("timeout 20 '") + QX_EXPLORER_BINARY + "' </dev/null";
    const int status = std::system(second.c_str());
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_LT(took, 10s);
    EXPECT_TRUE(first.running());
    first.stop();
}
