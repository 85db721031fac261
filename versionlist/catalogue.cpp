// Catalogue rules that need more than the table itself.
#include "versionlist/catalogue.hpp"

#include "platform/dir_search.hpp"

namespace versionlist {

bool IsSharedTool(std::string_view name) {
    return platform::EqualsIgnoreAsciiCase(name, "kmuwa.exe") ||
           platform::EqualsIgnoreAsciiCase(name, "kpreb.exe");
}

}  // namespace versionlist
