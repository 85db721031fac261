// Generates the demo install directory of the KOMA-R suite: tool executables carrying version
// markers in bin/, definition files of both header layouts in gen/, and a settings file that
// points at it. Everything is made here, so no binary from elsewhere is ever copied in.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Deterministic filler that looks like machine code: every byte value, at signs included.
std::string Filler(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<char>(x & 0xFF);
    }
    return bytes;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// An executable: filler with the markers embedded, each a NUL-terminated what-string, plus
// near misses a scanner must pass over.
void WriteTool(const fs::path& path, const std::vector<std::string>& markers, std::uint32_t seed) {
    std::string image = "MZ" + Filler(700, seed);
    image.append("@(#)Xno blank before X", 23);
    image.append(Filler(300, seed + 1));
    for (const auto& marker : markers) {
        image.append("@(#) ").append(marker).push_back('\0');
        image.append(Filler(450, seed + 2 + static_cast<std::uint32_t>(image.size())));
    }
    image.append("@(#) xsmall x is not a marker", 30);
    image.append(Filler(200, seed + 3));
    WriteFile(path, image);
}

// Header fields of the ＫＯＭＡ－Ｒ layout: name at 48 (8 bytes), version digits at 56.
void WriteKomaDefinition(const fs::path& path, std::string_view name, std::string_view digits) {
    std::string header(128, '\0');
    header.replace(0, 16, "KOMA-R DEFINE   ");
    std::string nameField(8, ' ');
    nameField.replace(0, name.size(), name);
    header.replace(48, 8, nameField);
    header.replace(56, digits.size(), digits);
    WriteFile(path, header + Filler(256, 7));
}

// Header fields of the other layout: version at 56 (NUL-terminated), name at 64 (32 bytes).
void WriteDefinition(const fs::path& path, std::string_view version, std::string_view nameField) {
    std::string header(128, '\0');
    header.replace(0, 16, "KOMA DEFINITION ");
    header.replace(56, version.size(), version);
    header.replace(64, nameField.size(), nameField);
    WriteFile(path, header + Filler(256, 11));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_demo_suite SUITE_DIR WINDIR\n");
        return 2;
    }
    try {
        const fs::path suite = fs::absolute(argv[1]);
        const fs::path windir = fs::absolute(argv[2]);
        fs::remove_all(suite);
        fs::create_directories(suite / "bin");
        fs::create_directories(suite / "gen");
        fs::create_directories(windir);
        const fs::path bin = suite / "bin";
        const fs::path gen = suite / "gen";

        // Half-width katakana in the markers are Shift-JIS bytes, as the suite stores them.
        WriteTool(bin / "kplr.exe", {"XKPL-R \xba\xdd\xca\xdf\xb2\xd7 V2.10 (c)KOMA 1996"}, 1);
        WriteTool(bin / "kplmek.exe", {"XKPLMEK V2.03"}, 2);
        WriteTool(bin / "komar.exe", {"XKOMA-R \xd2\xb2\xdd V3.10", "XKOMA-R runtime V3.10a"}, 3);
        WriteTool(bin / "kobin.exe", {"XKOBIN V3.02"}, 4);
        WriteTool(bin / "kowist", {"XKOWIST V1.00"}, 5);
        WriteTool(bin / "ktunr.exe", {"XKTUN-R V1.50"}, 6);
        // The shared tool, stored in capitals: listed under every category whose lead is here.
        WriteTool(bin / "KMUWA.EXE", {"XKMUWA \xd2\xb6\xde\xc9\xd0 V1.07"}, 7);
        WriteTool(bin / "kpreb.exe", {"XKPREB V0.98"}, 8);  // no lead of its categories
        WriteTool(bin / "komf86.exe", {"XOMF86 converter V1.1"}, 9);
        WriteTool(bin / "komf68k.exe", {"XOMF68K converter V1.3", "XOMF68K lib V1.0"}, 10);

        WriteDefinition(gen / "lkd0001.kpd", "V1.00", "==  SH7000 (standard)");
        WriteDefinition(gen / "lkd0002.kpd", "V1.20", "H8/300H");
        WriteKomaDefinition(gen / "mkd0001.kmd", "SH7604", "0310");
        WriteKomaDefinition(gen / "mkd0002.kmd", "V850", "0102");
        WriteDefinition(gen / "tkd0001.ktd", "V2.01", "TUNER-SH  = tuning set");

        std::ofstream ini(windir / "rivazivu.ini", std::ios::binary | std::ios::trunc);
        ini << "; KOMA-R series settings (demo)\r\n[SYSTEM]\r\nHOME=" << suite.string()
            << "\r\nPATH=" << (suite / "bin").string() << "\r\n";
        if (!ini) {
            throw std::runtime_error("cannot write the settings file");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo_suite: %s\n", e.what());
        return 1;
    }
    return 0;
}
