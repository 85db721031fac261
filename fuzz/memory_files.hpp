// In-memory files for the fuzz targets: the readers run over the fuzzer's bytes as a file.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/files.hpp"

namespace fuzzcheck {

class MemoryInputFile final : public platform::InputFile {
public:
    explicit MemoryInputFile(std::string bytes) : bytes_(std::move(bytes)) {}
    long Read(char* buffer, std::size_t count) override {
        if (position_ >= bytes_.size()) {
            return 0;
        }
        std::size_t n = std::min(count, bytes_.size() - position_);
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return static_cast<long>(n);
    }
    bool Seek(std::int64_t offset) override {
        if (offset < 0) {
            return false;
        }
        position_ = static_cast<std::size_t>(offset);
        return true;
    }

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

class MemoryOutputFile final : public platform::OutputFile {
public:
    explicit MemoryOutputFile(std::string& sink) : sink_(sink) {}
    bool Write(const char* data, std::size_t count) override {
        sink_.append(data, count);
        return true;
    }
    bool Close() override { return true; }

private:
    std::string& sink_;
};

// Every path opens the same bytes; the list goes to a string.
class MemoryFileSystem final : public platform::FileSystem {
public:
    MemoryFileSystem(std::string bytes, std::string& listSink)
        : bytes_(std::move(bytes)), listSink_(listSink) {}
    std::unique_ptr<platform::InputFile> OpenBinary(const std::string&) override {
        return std::make_unique<MemoryInputFile>(bytes_);
    }
    std::unique_ptr<platform::OutputFile> Create(const std::string&) override {
        return std::make_unique<MemoryOutputFile>(listSink_);
    }

private:
    std::string bytes_;
    std::string& listSink_;
};

// Stops the fuzzer with a message when a property does not hold.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

}  // namespace fuzzcheck
