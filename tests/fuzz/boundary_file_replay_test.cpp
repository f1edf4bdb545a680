// Replays the fuzz corpus through the reader's checks in the ordinary test run, so a build
// without libFuzzer still exercises every seed. Seeds named valid-* must be accepted and
// bad-* refused; any other file (a unit the fuzzer added) must only keep the promises.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "boundary_file_check.h"

TEST(boundary_file_corpus, every_seed_keeps_the_reader_promises) {
    int valid = 0, bad = 0;
    for (const auto& entry : std::filesystem::directory_iterator(BOUNDARY_FILE_CORPUS)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        bool accepted = false;
        const char* failure = check_boundary_file(entry.path().string().c_str(), &accepted);
        EXPECT_EQ(failure, nullptr) << failure;
        if (name.rfind("valid-", 0) == 0) {
            EXPECT_TRUE(accepted);
            ++valid;
        } else if (name.rfind("bad-", 0) == 0) {
            EXPECT_FALSE(accepted);
            ++bad;
        }
    }
    EXPECT_GE(valid, 3);
    EXPECT_GE(bad, 8);
}
