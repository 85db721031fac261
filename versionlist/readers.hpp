// The two readers of the suite's files. Each reads one file, hands its lines to the sink and
// reports its failures there, then returns so that the run goes on with the next file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files.hpp"
#include "versionlist/run_sink.hpp"

namespace versionlist {

// Hands the sink a failure of the file at path.
void ReportError(RunSink& sink, FailureKind kind, std::string_view path);

// The marker lines of the executable dir + name, in file order.
void ScanVersionMarkers(platform::FileSystem& files, RunSink& sink, const std::string& dir,
                        const std::string& name);

// The definition line of dir + name, its header read with the layout of category.
void ReadDefinitionHeader(platform::FileSystem& files, RunSink& sink, const std::string& name,
                          const std::string& dir, std::size_t category);

}  // namespace versionlist
