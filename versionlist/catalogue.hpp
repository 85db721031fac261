// The fixed catalogue of the KOMA-R suite: product families, their tools and definition files.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace versionlist {

inline constexpr std::size_t kToolSlots = 10;
inline constexpr std::size_t kCategoryCount = 6;

struct ProductCategory {
    // Full-width name used in the section heading (UTF-8 here, CP932 in the list).
    std::string_view DisplayName;
    // File names looked for in bin; slot 0 is the lead tool, an empty slot holds "".
    std::array<std::string_view, kToolSlots> Tools;
    // Searched for in the gen directory.
    std::string_view DefinitionPattern;
};

// Category 1 (ＫＯＭＡ－Ｒ) reads its definition headers with its own layout.
inline constexpr std::size_t kKomaCategory = 1;
// Category 0 (ＫＰＬ－Ｒ) ends a definition name at an opening parenthesis.
inline constexpr std::size_t kKplCategory = 0;

inline constexpr std::array<ProductCategory, kCategoryCount> ToolCatalogue = {{
    {"ＫＰＬ－Ｒ", {"kplr.exe", "kplmek.exe", "kplsav.exe"}, "lkd*.kpd"},
    {"ＫＯＭＡ－Ｒ",
     {"komar.exe", "kobin.exe", "kotel.exe", "kofra.exe", "koduz.exe", "koduz2.exe", "kohim.exe",
      "kopat.exe", "korem.exe", "kowist"},
     "mkd*.kmd"},
    {"ＫＴＵＮ－Ｒ", {"ktunr.exe", "kmuwa.exe", "ktbes.exe", "ktgol.exe"}, "tkd*.ktd"},
    {"ＫＦＥＬ－Ｒ", {"kfelr.exe", "kmuwa.exe"}, "fkd*.ktd"},
    {"ＫＷＯＨ－Ｒ", {"kwohr.exe", "kpreb.exe", "kmuwa.exe"}, "wkd*.ktd"},
    {"ＫＮＩＳ－Ｒ", {"knisr.exe", "kpreb.exe", "kmuwa.exe"}, "nkd*.ktd"},
}};

// OMF converters: every entry of bin matching this pattern.
inline constexpr std::string_view kConverterPattern = "komf*.exe";

// Tools that several categories share; reported only under a category whose lead tool is
// present. Compared without regard to letter case.
bool IsSharedTool(std::string_view name);

}  // namespace versionlist
