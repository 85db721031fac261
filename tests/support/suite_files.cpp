// Building suite files.
#include "support/suite_files.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "versionlist/catalogue.hpp"

namespace testing_support {

std::string NoiseBytes(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    Xorshift random(seed);
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        const std::uint32_t x = random.Next();
        for (int k = 0; k < 4; ++k) {
            bytes[i + k] = static_cast<char>(x >> (8 * k));
        }
    }
    for (; i < size; ++i) {
        bytes[i] = static_cast<char>(random.Next());
    }
    return bytes;
}

std::string QuietBytes(std::size_t size, std::uint32_t seed) {
    std::string bytes = NoiseBytes(size, seed);
    std::replace(bytes.begin(), bytes.end(), '@', '#');
    return bytes;
}

std::string MarkerBytes(std::string_view text) {
    std::string bytes = "@(#) ";
    bytes.append(text);
    bytes.push_back('\0');
    return bytes;
}

std::string ToolImage(std::initializer_list<std::string_view> markers) {
    std::string image = QuietBytes(300, 1);
    std::uint32_t seed = 2;
    for (const auto marker : markers) {
        image += MarkerBytes(marker);
        image += QuietBytes(100, seed++);
    }
    return image;
}

std::string NoisyToolImage(std::initializer_list<std::string_view> markers, std::uint32_t seed) {
    std::string image = "MZ" + NoiseBytes(700, seed);
    image.append("@(#)Xno blank before X", 23);
    image.append(NoiseBytes(300, seed + 1));
    for (const auto marker : markers) {
        image += MarkerBytes(marker);
        image.append(NoiseBytes(450, seed + 2 + static_cast<std::uint32_t>(image.size())));
    }
    image.append("@(#) xsmall x is not a marker", 30);
    image.append(NoiseBytes(200, seed + 3));
    return image;
}

std::string KomaDefinition(std::string_view nameField8, std::string_view versionDigits) {
    if (nameField8.size() > 8 || versionDigits.size() > 16) {
        throw std::invalid_argument("field too long");
    }
    std::string bytes(128, '\0');
    bytes.replace(48, nameField8.size(), nameField8);
    bytes.replace(56, versionDigits.size(), versionDigits);
    return bytes;
}

std::string OtherDefinition(std::string_view versionField, std::string_view nameField32) {
    if (versionField.size() > 8 || nameField32.size() > 32) {
        throw std::invalid_argument("field too long");
    }
    std::string bytes(128, '\0');
    bytes.replace(56, versionField.size(), versionField);
    bytes.replace(64, nameField32.size(), nameField32);
    return bytes;
}

std::string NumberedDefinition(std::size_t category, std::size_t number, std::size_t bodySize) {
    std::array<char, 40> name{};
    std::array<char, 40> version{};
    std::string header;
    if (category == versionlist::kKomaCategory) {
        // Eight bytes of name ended by blanks; the version's digits around its full stop.
        std::snprintf(name.data(), name.size(), "SH%-6zu", number % 1000000);
        std::snprintf(version.data(), version.size(), "%02zu%02zu", 1 + number % 9, number % 100);
        header = KomaDefinition(std::string_view(name.data(), 8), version.data());
    } else {
        // A remark after an equals sign, which the name leaves out.
        std::snprintf(version.data(), version.size(), "V%zu.%02zu", 1 + number % 9, number % 100);
        std::snprintf(name.data(), name.size(), "== CPU%zu = set %zu", number, category);
        const std::string_view nameText(name.data());
        header = OtherDefinition(version.data(), nameText.substr(0, 32));
    }
    header.replace(0, 16, "KOMA DEFINITION ");
    return header + NoiseBytes(bodySize, static_cast<std::uint32_t>(number));
}

std::string NumberedDefinitionName(std::size_t category, std::size_t number) {
    std::string name(versionlist::ToolCatalogue.at(category).DefinitionPattern);
    std::array<char, 16> digits{};
    std::snprintf(digits.data(), digits.size(), "%05zu", number);
    name.replace(name.find('*'), 1, digits.data());
    return name;
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace testing_support
