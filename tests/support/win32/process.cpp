// Child processes through CreateProcessW, their output read from two overlapped pipes.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <stdexcept>
#include <thread>

#include "support/process.hpp"
#include "support/win32/wide_text.hpp"

namespace testing_support {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": error " + std::to_string(::GetLastError()));
}

// One argument for the command line, as CommandLineToArgvW and the C runtime split it.
void AppendArgument(std::wstring& line, const std::wstring& argument) {
    if (!line.empty()) {
        line.push_back(L' ');
    }
    line.push_back(L'"');
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line.push_back(c);
    }
    line.append(backslashes * 2, L'\\');
    line.push_back(L'"');
}

// The reading end of a pipe, overlapped so that both streams and the timeout can be waited
// for at once, and the child's end, inheritable.
struct Pipe {
    HANDLE read = INVALID_HANDLE_VALUE;
    HANDLE write = INVALID_HANDLE_VALUE;
};

Pipe MakePipe() {
    static std::atomic<unsigned> serial{0};
    const std::wstring name = L"\\\\.\\pipe\\pelkor-test-" +
                              std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(serial++);
    Pipe pipe;
    pipe.read = ::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536, 65536, 0, nullptr);
    if (pipe.read == INVALID_HANDLE_VALUE) {
        Fail("CreateNamedPipeW");
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    pipe.write = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    if (pipe.write == INVALID_HANDLE_VALUE) {
        Fail("opening the pipe's writing end");
    }
    return pipe;
}

// The environment block: this process's, with the assignments given put in.
std::wstring EnvironmentBlock(const std::vector<std::string>& extra) {
    // Names compare without regard to case, as Windows has them.
    struct Less {
        bool operator()(const std::wstring& a, const std::wstring& b) const {
            return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                          static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
        }
    };
    std::map<std::wstring, std::wstring, Less> variables;
    wchar_t* strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring assignment = entry;
        // "=C:=C:\dir": the current directories of drives, whose names begin with "=".
        const auto equals = assignment.find(L'=', 1);
        variables[assignment.substr(0, equals)] = assignment;
    }
    ::FreeEnvironmentStringsW(strings);
    for (const auto& assignment : extra) {
        const std::wstring wide = WideText(assignment);
        variables[wide.substr(0, wide.find(L'='))] = wide;
    }
    std::wstring block;
    for (const auto& [name, assignment] : variables) {
        block += assignment;
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

// A pipe nobody reads, filled by a writer that stays blocked in its write: whoever writes to
// it next waits too, until the pipe is closed.
class FullPipe {
public:
    FullPipe() : pipe_(MakePipe()) {
        filler_ = std::thread([this] {
            const std::string bytes(1 << 20, 'f');
            DWORD written = 0;
            ::WriteFile(pipe_.write, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                        nullptr);
        });
        // Full once the filler's bytes have arrived.
        for (int i = 0; i < 500; ++i) {
            DWORD available = 0;
            if (::PeekNamedPipe(pipe_.read, nullptr, 0, nullptr, &available, nullptr) &&
                available > 0) {
                break;
            }
            ::Sleep(10);
        }
    }
    ~FullPipe() {
        ::CloseHandle(pipe_.read);  // the blocked write fails and the filler ends
        filler_.join();
        ::CloseHandle(pipe_.write);
    }
    FullPipe(const FullPipe&) = delete;
    FullPipe& operator=(const FullPipe&) = delete;

    HANDLE WritingEnd() const { return pipe_.write; }

private:
    Pipe pipe_;
    std::thread filler_;
};

}  // namespace

struct ChildProcess::State {
    HANDLE process = nullptr;
    HANDLE out = INVALID_HANDLE_VALUE;
    HANDLE err = INVALID_HANDLE_VALUE;
    std::unique_ptr<FullPipe> held;
    int timeoutSeconds = 30;
    bool waited = false;
};

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options)
    : state_(std::make_unique<State>()) {
    state_->timeoutSeconds = options.timeoutSeconds;
    const Pipe out = MakePipe();
    const Pipe err = MakePipe();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE null = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, 0, nullptr);
    std::wstring commandLine;
    for (const auto& argument : argv) {
        AppendArgument(commandLine, WideText(argument));
    }
    std::wstring environment = EnvironmentBlock(options.extraEnv);
    const std::wstring directory = WideText(options.workingDirectory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = null;
    // A stream the child is started without: no handle at all.
    startup.hStdOutput = options.closeStdout ? nullptr : out.write;
    if (options.holdStderr) {
        state_->held = std::make_unique<FullPipe>();
    }
    startup.hStdError = options.closeStderr ? nullptr
                        : state_->held      ? state_->held->WritingEnd()
                                            : err.write;
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessW(WideText(argv.at(0)).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(),
                         directory.empty() ? nullptr : directory.c_str(), &startup, &process);
    const DWORD error = ::GetLastError();
    ::CloseHandle(null);
    ::CloseHandle(out.write);
    ::CloseHandle(err.write);
    state_->out = out.read;
    state_->err = err.read;
    if (!started) {
        ::SetLastError(error);
        Fail("CreateProcessW " + argv.at(0));
    }
    ::CloseHandle(process.hThread);
    state_->process = process.hProcess;
}

ChildProcess::~ChildProcess() {
    if (!state_->waited && state_->process != nullptr) {
        Kill(9);
        Wait();
    }
    for (HANDLE handle : {state_->out, state_->err}) {
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
        }
    }
    if (state_->process != nullptr) {
        ::CloseHandle(state_->process);
    }
}

void ChildProcess::Kill(int signal) {
    ::TerminateProcess(state_->process, 128 + signal);
}

ProcessResult ChildProcess::Wait() {
    ProcessResult result;
    state_->waited = true;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(state_->timeoutSeconds);
    struct Reader {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        std::string* sink = nullptr;
        OVERLAPPED overlapped{};
        char chunk[4096] = {};
        bool open = true;
        bool pending = false;
    };
    Reader readers[2];
    readers[0].pipe = state_->out;
    readers[0].sink = &result.out;
    readers[1].pipe = state_->err;
    readers[1].sink = &result.err;
    for (auto& reader : readers) {
        reader.overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    // Starts a read, taking what is there at once; false when the pipe has ended.
    const auto start = [](Reader& reader) {
        for (;;) {
            DWORD got = 0;
            ::ResetEvent(reader.overlapped.hEvent);
            if (::ReadFile(reader.pipe, reader.chunk, sizeof reader.chunk, &got,
                           &reader.overlapped)) {
                reader.sink->append(reader.chunk, got);
                continue;
            }
            if (::GetLastError() == ERROR_IO_PENDING) {
                reader.pending = true;
                return true;
            }
            return false;  // ERROR_BROKEN_PIPE: the child's end is closed
        }
    };
    for (auto& reader : readers) {
        reader.open = start(reader);
    }
    while (readers[0].open || readers[1].open) {
        HANDLE events[2];
        Reader* waiting[2];
        DWORD count = 0;
        for (auto& reader : readers) {
            if (reader.open) {
                events[count] = reader.overlapped.hEvent;
                waiting[count++] = &reader;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        const DWORD signalled =
            left <= 0 ? WAIT_TIMEOUT
                      : ::WaitForMultipleObjects(count, events, FALSE, static_cast<DWORD>(left));
        if (signalled == WAIT_TIMEOUT || signalled == WAIT_FAILED) {
            result.timedOut = signalled == WAIT_TIMEOUT;
            ::TerminateProcess(state_->process, 124);
            break;
        }
        Reader& reader = *waiting[signalled - WAIT_OBJECT_0];
        DWORD got = 0;
        reader.pending = false;
        if (::GetOverlappedResult(reader.pipe, &reader.overlapped, &got, FALSE)) {
            reader.sink->append(reader.chunk, got);
            reader.open = start(reader);
        } else {
            reader.open = false;
        }
    }
    for (auto& reader : readers) {
        if (reader.pending) {
            ::CancelIoEx(reader.pipe, &reader.overlapped);
            DWORD got = 0;
            ::GetOverlappedResult(reader.pipe, &reader.overlapped, &got, TRUE);
        }
        ::CloseHandle(reader.overlapped.hEvent);
    }
    const auto left = std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 deadline - std::chrono::steady_clock::now())
                                                 .count());
    if (::WaitForSingleObject(state_->process, static_cast<DWORD>(left)) == WAIT_TIMEOUT) {
        result.timedOut = true;
        ::TerminateProcess(state_->process, 124);
        ::WaitForSingleObject(state_->process, INFINITE);
    }
    DWORD code = 0;
    if (!result.timedOut && ::GetExitCodeProcess(state_->process, &code)) {
        result.exitStatus = static_cast<int>(code);
    }
    return result;
}

}  // namespace testing_support
