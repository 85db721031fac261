// A stand-in for the editor in the tests: waits a moment (so a launcher that waited for it
// would be seen), then writes the arguments after the first, as CommandLineToArgvW splits its
// command line, one a line in UTF-8 and then "<end>", into the file the first argument names.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* wide) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    return text;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr || count < 2) {
        return 2;
    }
    ::Sleep(300);
    std::string text;
    for (int i = 2; i < count; ++i) {
        text += Utf8(argv[i]) + "\n";
    }
    text += "<end>\n";
    // Written under another name first, so the test never reads half a file.
    const std::wstring out = argv[1];
    const std::wstring partial = out + L".partial";
    HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    ::CloseHandle(file);
    return ok && ::MoveFileExW(partial.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
