# Run by CPack once the package's files are staged: the Depends line of the .deb, each
# package named once.
#
# dpkg-shlibdeps finds the packages of the libraries the staged programs link. What they
# only load at run time (Qt plugins) it cannot see; those come in CPACK_PELKOR_RUNTIME_DEPENDS
# and are left out of its answer, since CPackDeb would simply join the two lists and a
# package linked as well as loaded would be named twice.

set(staged ${CPACK_TEMPORARY_DIRECTORY})
file(GLOB_RECURSE files LIST_DIRECTORIES false ${staged}/*)
set(programs)
foreach(file IN LISTS files)
    if(NOT IS_SYMLINK ${file})
        file(READ ${file} magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46")
            list(APPEND programs ${file})
        endif()
    endif()
endforeach()

set(excluded)
foreach(dependency IN LISTS CPACK_PELKOR_RUNTIME_DEPENDS)
    string(REGEX MATCH "^[a-z0-9][a-z0-9.+-]+" name "${dependency}")
    list(APPEND excluded -x${name})
endforeach()

set(depends ${CPACK_PELKOR_RUNTIME_DEPENDS})
if(programs)
    # dpkg-shlibdeps wants a debian/control in its working directory; an empty one will do.
    set(work ${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps)
    file(REMOVE_RECURSE ${work})
    file(WRITE ${work}/debian/control "")
    execute_process(
        COMMAND dpkg-shlibdeps -O ${excluded} ${programs}
        WORKING_DIRECTORY ${work}
        OUTPUT_VARIABLE found
        ERROR_VARIABLE errors
        RESULT_VARIABLE status
        OUTPUT_STRIP_TRAILING_WHITESPACE
    )
    file(REMOVE_RECURSE ${work})
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "dpkg-shlibdeps failed on ${programs}:\n${errors}")
    endif()
    string(REGEX REPLACE "^shlibs:Depends=" "" found "${found}")
    if(found)
        list(APPEND depends ${found})
    endif()
endif()
list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
