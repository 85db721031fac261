// The marker scanner's pass over an executable and the definition reader's field reads.
#include "versionlist/readers.hpp"

#include <array>

#include "versionlist/definition_header.hpp"
#include "versionlist/marker_scanner.hpp"

namespace versionlist {
namespace {

// Executables are read in large chunks: the scanner's result does not depend on where the
// reads split a file, and few large reads cost far less than many small ones: 260-byte reads
// scan more than 20 times slower. 64 KiB stays within the core's second-level cache while it
// is scanned and sits comfortably on the stack of any thread; 256 KiB measured only 4 to 7% faster
// (see docs/performance.md).
constexpr std::size_t kScanReadSize = 64 * 1024;

// Reads of a header field ask for at most this many bytes.
constexpr std::size_t kFieldBuffer = 32;

}  // namespace

void ReportError(RunSink& sink, FailureKind kind, std::string_view path) {
    sink.Failed(Failure{kind, std::string(path)});
}

void ScanVersionMarkers(platform::FileSystem& files, RunSink& sink, const std::string& dir,
                        const std::string& name) {
    const std::string path = dir + name;
    auto file = files.OpenBinary(path);
    if (!file) {
        ReportError(sink, FailureKind::kScanOpen, path);
        return;
    }
    MarkerScanner scanner;
    std::array<char, kScanReadSize> buffer;
    const auto onMarker = [&](std::string_view text) { sink.MarkerLine(text); };
    long count;
    for (;;) {
        // A hole of a sparse file reads as zeros, and after one zero byte the scanner stands
        // where any number of them would leave it: one is fed for the whole hole.
        if (file->SkipHole() > 0) {
            scanner.Feed("", 1, onMarker);
        }
        count = file->Read(buffer.data(), buffer.size());
        if (count <= 0) {
            break;
        }
        scanner.Feed(buffer.data(), static_cast<std::size_t>(count), onMarker);
    }
    file.reset();  // closed on every path, before any message is shown
    if (count < 0) {
        ReportError(sink, FailureKind::kScanRead, path);
    }
}

void ReadDefinitionHeader(platform::FileSystem& files, RunSink& sink, const std::string& name,
                          const std::string& dir, std::size_t category) {
    const std::string path = dir + name;
    auto file = files.OpenText(path);
    if (!file) {
        ReportError(sink, FailureKind::kDefinitionOpen, path);
        return;
    }
    // Each field read is positioned on its own; a failure ends the call without a line.
    auto readField = [&](FieldRead field, std::string& delivered) {
        std::array<char, kFieldBuffer> buffer;
        if (!file->Seek(field.offset)) {
            file.reset();
            ReportError(sink, FailureKind::kDefinitionSeek, path);
            return false;
        }
        const long count = file->Read(buffer.data(), field.count);
        if (count < 0) {
            file.reset();
            ReportError(sink, FailureKind::kDefinitionRead, path);
            return false;
        }
        delivered.assign(buffer.data(), static_cast<std::size_t>(count));
        return true;
    };
    std::string nameBytes, versionBytes;
    if (!readField(NameField(category), nameBytes) || !readField(kVersionField, versionBytes)) {
        return;
    }
    file.reset();
    sink.DefinitionLine(name, DefinitionVersion(category, versionBytes),
                        DefinitionName(category, nameBytes));
}

}  // namespace versionlist
