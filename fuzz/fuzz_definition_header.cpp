// The definition reader over arbitrary header bytes in every category: one definition line,
// built from the fields as the text-mode rules deliver them, and never a message.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "memory_files.hpp"
#include "platform/cp932.hpp"
#include "text_mode_rules.hpp"
#include "versionlist/catalogue.hpp"
#include "versionlist/definition_header.hpp"
#include "versionlist/version_list.hpp"

namespace {

class SilentPresenter final : public platform::MessagePresenter {
public:
    void ShowMessage(std::string_view) override { ++shown; }
    int shown = 0;
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
    fuzzcheck::MemoryFileSystem files(header, list);
    SilentPresenter presenter;
    versionlist::VersionList run(presenter, files);
    run.ListFile = std::make_unique<versionlist::ListFileWriter>(files.Create("version.lis"));
    run.ReadDefinitionHeader("lkd1.kpd", "/suite/gen/", category);
    FUZZ_CHECK(run.ListFile->Close());
    FUZZ_CHECK(presenter.shown == 0);

    const auto nameField = versionlist::NameField(category);
    const std::string name = versionlist::DefinitionName(
        category, fuzzcheck::TextModeRead(header, static_cast<std::size_t>(nameField.offset),
                                          nameField.count));
    const std::string version =
        versionlist::DefinitionVersion(category, fuzzcheck::TextModeRead(header, 56, 16));
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
    const std::string expected = "    lkd1.kpd\t " + fuzzcheck::StoredText(UpToNul(version)) +
                                 " \t[" + fuzzcheck::StoredText(UpToNul(name)) +
                                 platform::Utf8ToCp932("定義体]") + "\r\r\n";
    FUZZ_CHECK(list == expected);
    return 0;
}
