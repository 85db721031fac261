// The definition reader over arbitrary header bytes in every category: one definition line,
// built from the fields as the text-mode rules deliver them, and never a message.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "fuzz_check.hpp"
#include "platform/cp932.hpp"
#include "support/test_file_system.hpp"
#include "support/text_mode_rules.hpp"
#include "versionlist/catalogue.hpp"
#include "versionlist/definition_header.hpp"
#include "versionlist/list_file.hpp"
#include "versionlist/readers.hpp"

namespace {

struct FailureCount final : versionlist::RunSink {
    void Failed(const versionlist::Failure&) override { ++count; }
    int count = 0;
};

std::string UpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto category =
        provider.ConsumeIntegralInRange<std::size_t>(0, versionlist::kCategoryCount - 1);
    const std::string header = provider.ConsumeRemainingBytesAsString();

    std::string list;
    testing_support::TestFileSystem files;
    files.everyFile = header;
    files.listInMemory = &list;
    versionlist::ListFileWriter listFile(files.Create("version.lis"));
    FailureCount failures;
    versionlist::SinkList sinks{&listFile, &failures};
    versionlist::ReadDefinitionHeader(files, sinks, "lkd1.kpd", "/suite/gen/", category);
    FUZZ_CHECK(listFile.Close());
    FUZZ_CHECK(failures.count == 0);

    const auto nameField = versionlist::NameField(category);
    const std::string name = versionlist::DefinitionName(
        category, testing_support::TextModeRead(header, static_cast<std::size_t>(nameField.offset),
                                                nameField.count));
    const std::string version =
        versionlist::DefinitionVersion(category, testing_support::TextModeRead(header, 56, 16));
    // The name's own rules.
    FUZZ_CHECK(name.size() <= nameField.count);
    if (category != versionlist::kKomaCategory) {
        FUZZ_CHECK(name.find('=') == std::string::npos);
        FUZZ_CHECK(name.find('\0') == std::string::npos);
        FUZZ_CHECK(name.empty() || (name[0] != ' ' && name[0] != '='));
        if (category == versionlist::kKplCategory) {
            FUZZ_CHECK(name.find('(') == std::string::npos);
        }
        FUZZ_CHECK(version.size() <= 8);
    } else {
        FUZZ_CHECK(name.find(' ') == std::string::npos);
        FUZZ_CHECK(version.size() == 6 && version[0] == 'V' && version[3] == '.');
    }
    const std::string expected = "    lkd1.kpd\t " + testing_support::StoredText(UpToNul(version)) +
                                 " \t[" + testing_support::StoredText(UpToNul(name)) +
                                 platform::Utf8ToCp932("定義体]") + "\r\r\n";
    FUZZ_CHECK(list == expected);
    return 0;
}
