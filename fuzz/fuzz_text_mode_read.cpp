// Text-mode field reads at arbitrary positions of arbitrary bytes, with and without a
// positioning before each read, against the rules written out byte by byte.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fuzz_check.hpp"
#include "support/test_file_system.hpp"
#include "support/text_mode_rules.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    struct Step {
        bool seek;
        std::size_t offset;
        std::size_t count;
    };
    std::vector<Step> steps(provider.ConsumeIntegralInRange<std::size_t>(1, 12));
    for (auto& step : steps) {
        step.seek = provider.ConsumeBool();
        step.offset = provider.ConsumeIntegralInRange<std::size_t>(0, 160);
        step.count = provider.ConsumeIntegralInRange<std::size_t>(0, 64);
    }
    const std::string file = provider.ConsumeRemainingBytesAsString();

    platform::TextModeFile text(std::make_unique<testing_support::MemoryInputFile>(file));
    std::size_t position = 0;
    for (const auto& step : steps) {
        if (step.seek) {
            FUZZ_CHECK(text.Seek(static_cast<std::int64_t>(step.offset)));
            position = step.offset;
        }
        char buffer[64];
        long n = text.Read(buffer, step.count);
        FUZZ_CHECK(n >= 0 && static_cast<std::size_t>(n) <= step.count);
        FUZZ_CHECK(std::string(buffer, static_cast<std::size_t>(n)) ==
                   testing_support::TextModeRead(file, position, step.count));
        // The next read without a positioning starts behind the bytes this one took.
        if (position < file.size()) {
            position += std::min(step.count, file.size() - position);
        }
    }
    return 0;
}
