// The settings-file parser over arbitrary text, section and key names: it ends, and what it
// returns is one line's value as the file holds it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "fuzz_check.hpp"
#include "platform/settings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(16);
    const std::string key = provider.ConsumeRandomLengthString(16);
    const std::string text = provider.ConsumeRemainingBytesAsString();

    const std::string value = platform::ProfileString(text, section, key);
    FUZZ_CHECK(value.find('\n') == std::string::npos);
    FUZZ_CHECK(value.find('\0') == std::string::npos);  // a value ends at its first NUL
    FUZZ_CHECK(value.empty() || text.find(value) != std::string::npos);
    // The same text with a section and key that certainly match gives their value.
    const std::string appended = text + "\n[FuzzSection]\nFuzzKey = \"v a l\"\n";
    const std::string found = platform::ProfileString(appended, "fuzzsection", "FUZZKEY");
    std::string folded = text;
    for (char& c : folded) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (folded.find("fuzzsection") == std::string::npos) {  // no earlier section of that name
        FUZZ_CHECK(found == "v a l");
    }
    return 0;
}
