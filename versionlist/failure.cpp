// The run's message texts.
#include "versionlist/failure.hpp"

namespace versionlist {

bool IsReadFailure(FailureKind kind) {
    return kind != FailureKind::kListCreate && kind != FailureKind::kListWrite;
}

std::string_view MessageFormat(FailureKind kind) {
    switch (kind) {
        case FailureKind::kScanOpen:
        case FailureKind::kDirectorySearch:
            return "[%s] Open Error !!\n";
        case FailureKind::kScanRead:
            return " [%s] Read Error !! \n";
        case FailureKind::kDefinitionOpen:
            return "定義体[%s] Open Error !!\n";
        case FailureKind::kDefinitionSeek:
            return " 定義体[%s] Lseek Error !! \n";
        case FailureKind::kDefinitionRead:
            return " 定義体[%s] Read Error !! \n";
        case FailureKind::kListCreate:
            return "List File[%s] Create Error\n";
        case FailureKind::kListWrite:
            return "List File[%s] Write Error\n";
    }
    return "[%s]\n";
}

std::string MessageText(const Failure& failure) {
    return FormatMessage(MessageFormat(failure.kind), failure.path);
}

std::string FormatMessage(std::string_view format, std::string_view path) {
    std::string text(format);
    if (const auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, path);
    }
    return text;
}

}  // namespace versionlist
