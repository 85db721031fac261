// Several sinks as one.
#include "versionlist/run_sink.hpp"

namespace versionlist {

void SinkList::ProductHeading(std::size_t category) {
    for (RunSink* sink : sinks_) {
        sink->ProductHeading(category);
    }
}

void SinkList::ConverterHeading() {
    for (RunSink* sink : sinks_) {
        sink->ConverterHeading();
    }
}

void SinkList::Tool(std::string_view file) {
    for (RunSink* sink : sinks_) {
        sink->Tool(file);
    }
}

void SinkList::MarkerLine(std::string_view marker) {
    for (RunSink* sink : sinks_) {
        sink->MarkerLine(marker);
    }
}

void SinkList::Definition(std::string_view file) {
    for (RunSink* sink : sinks_) {
        sink->Definition(file);
    }
}

void SinkList::DefinitionLine(std::string_view file, std::string_view version,
                              std::string_view name) {
    for (RunSink* sink : sinks_) {
        sink->DefinitionLine(file, version, name);
    }
}

void SinkList::Failed(const Failure& failure) {
    for (RunSink* sink : sinks_) {
        sink->Failed(failure);
    }
}

void SinkList::Finished(const RunResult& result) {
    for (RunSink* sink : sinks_) {
        sink->Finished(result);
    }
}

}  // namespace versionlist
