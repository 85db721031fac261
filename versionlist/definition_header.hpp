// The two fields the list takes from a definition file's header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace versionlist {

// Where the fields stand and how many bytes each read asks for.
struct FieldRead {
    std::int64_t offset;
    std::size_t count;
};

// The name field: offset 48, 8 bytes in the ＫＯＭＡ－Ｒ layout; offset 64, 32 bytes otherwise.
FieldRead NameField(std::size_t category);
// The version field: offset 56, 16 bytes, in both layouts.
inline constexpr FieldRead kVersionField{56, 16};

// The definition name from the bytes a name read delivered.
std::string DefinitionName(std::size_t category, std::string_view delivered);
// The version text from the bytes a version read delivered.
std::string DefinitionVersion(std::size_t category, std::string_view delivered);

}  // namespace versionlist
