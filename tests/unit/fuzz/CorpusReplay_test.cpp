// Every committed fuzz input runs through its harness on every test run: a finding once fixed
// stays fixed. A harness aborts on a broken rule, which fails this test with its message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "Harnesses.h"

namespace telvor::fuzz {
namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CorpusReplay : public ::testing::TestWithParam<Harness> {};

TEST_P(CorpusReplay, EveryInputPassesItsHarness) {
    const Harness harness = GetParam();
    const std::filesystem::path folder =
        std::filesystem::path(TELVOR_FUZZ_CORPUS_DIR) / harness.name;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().string());
        const std::vector<std::uint8_t> bytes = ReadFile(entry.path());
        harness.run(bytes);
        ++replayed;
    }
    EXPECT_GT(replayed, 0u) << "no corpus for " << harness.name;
}

INSTANTIATE_TEST_SUITE_P(Harnesses, CorpusReplay, ::testing::ValuesIn(kHarnesses),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace telvor::fuzz
