// Generates the demo install directory of the KOMA-R suite: tool executables carrying version
// markers in bin/, definition files of both header layouts in gen/, and a settings file that
// points at it. Everything is made here, so no binary from elsewhere is ever copied in.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/suite_files.hpp"

namespace fs = std::filesystem;

namespace {

using testing_support::KomaDefinition;
using testing_support::NoiseBytes;
using testing_support::NoisyToolImage;
using testing_support::OtherDefinition;
using testing_support::WriteFileBytes;

// A definition file as the suite ships it: its header, then a body the list never reads.
std::string Definition(std::string header, std::string_view tag, std::uint32_t seed) {
    header.replace(0, tag.size(), tag);
    return header + NoiseBytes(256, seed);
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
        WriteFileBytes(bin / "kplr.exe",
                       NoisyToolImage({"XKPL-R \xba\xdd\xca\xdf\xb2\xd7 V2.10 (c)KOMA 1996"}, 1));
        WriteFileBytes(bin / "kplmek.exe", NoisyToolImage({"XKPLMEK V2.03"}, 2));
        WriteFileBytes(bin / "komar.exe",
                       NoisyToolImage({"XKOMA-R \xd2\xb2\xdd V3.10", "XKOMA-R runtime V3.10a"}, 3));
        WriteFileBytes(bin / "kobin.exe", NoisyToolImage({"XKOBIN V3.02"}, 4));
        WriteFileBytes(bin / "kowist", NoisyToolImage({"XKOWIST V1.00"}, 5));
        WriteFileBytes(bin / "ktunr.exe", NoisyToolImage({"XKTUN-R V1.50"}, 6));
        // The shared tool, stored in capitals: listed under every category whose lead is here.
        WriteFileBytes(bin / "KMUWA.EXE", NoisyToolImage({"XKMUWA \xd2\xb6\xde\xc9\xd0 V1.07"}, 7));
        WriteFileBytes(bin / "kpreb.exe",
                       NoisyToolImage({"XKPREB V0.98"}, 8));  // no lead of its categories
        WriteFileBytes(bin / "komf86.exe", NoisyToolImage({"XOMF86 converter V1.1"}, 9));
        WriteFileBytes(bin / "komf68k.exe",
                       NoisyToolImage({"XOMF68K converter V1.3", "XOMF68K lib V1.0"}, 10));

        constexpr std::string_view kOther = "KOMA DEFINITION ";
        constexpr std::string_view kKoma = "KOMA-R DEFINE   ";
        WriteFileBytes(gen / "lkd0001.kpd",
                       Definition(OtherDefinition("V1.00", "==  SH7000 (standard)"), kOther, 11));
        WriteFileBytes(gen / "lkd0002.kpd",
                       Definition(OtherDefinition("V1.20", "H8/300H"), kOther, 11));
        WriteFileBytes(gen / "mkd0001.kmd",
                       Definition(KomaDefinition("SH7604  ", "0310"), kKoma, 7));
        WriteFileBytes(gen / "mkd0002.kmd",
                       Definition(KomaDefinition("V850    ", "0102"), kKoma, 7));
        WriteFileBytes(gen / "tkd0001.ktd",
                       Definition(OtherDefinition("V2.01", "TUNER-SH  = tuning set"), kOther, 11));

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
