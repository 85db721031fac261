# The hardening Debian gives its own packages (dpkg-buildflags, hardening=+all), for every
# target of the tree, so the programs, the libraries inside them and the tests that prove
# them are one and the same code: stack protector, relocations read-only and bound at start,
# and checked buffer functions. The last only where glibc allows them: in optimised builds,
# and not under the sanitizers, which replace those functions with their own.
set(PELKOR_FORTIFY OFF)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-fstack-protector-strong)
    add_link_options("LINKER:-z,relro" "LINKER:-z,now")
    if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
       AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
        set(PELKOR_FORTIFY ON)
        add_compile_definitions(_FORTIFY_SOURCE=2)
    endif()
endif()
