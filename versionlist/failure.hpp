// What can go wrong in a run, as data: a kind and the path concerned. The message a person
// reads is made from them in one place.
#pragma once

#include <string>
#include <string_view>

namespace versionlist {

enum class FailureKind {
    kScanOpen,         // a tool or converter could not be opened
    kScanRead,         // reading a tool or converter failed; markers before it are listed
    kDefinitionOpen,   // a definition file could not be opened
    kDefinitionSeek,   // positioning to a header field failed
    kDefinitionRead,   // reading a header field failed
    kDirectorySearch,  // bin or gen exists but could not be searched
    kListCreate,       // the list file could not be created; nothing was written
    kListWrite,        // the list file could not be completely written
};

struct Failure {
    FailureKind kind;
    std::string path;

    friend bool operator==(const Failure&, const Failure&) = default;
};

// True for the failures of reading the suite (as opposed to writing the list).
bool IsReadFailure(FailureKind kind);

// The message format of a kind; "%s" takes the path.
std::string_view MessageFormat(FailureKind kind);

// The message a person reads (UTF-8).
std::string MessageText(const Failure& failure);

// format with its "%s" replaced by path, as every message of the program is made.
std::string FormatMessage(std::string_view format, std::string_view path);

// Shown when the run found no tool and no definition file of the catalogue.
inline constexpr std::string_view kNothingFoundMessage = "汎用ｸﾛｽｿﾌﾄｳｪｱが見つかりませんでした。";

}  // namespace versionlist
