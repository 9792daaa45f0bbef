# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once the components are staged, before the packages are made: sets the window
# package's Depends from the shared libraries its programs link (dpkg-shlibdeps), followed by
# the packages it needs at run time. CPack's own scan would do the same but also give the
# package ldconfig calls, which a private library folder (lib/vocafetch) does not need.
set(staged ${CPACK_TEMPORARY_DIRECTORY}/${CPACK_VOCAFETCH_GUI_COMPONENT})
if(NOT IS_DIRECTORY ${staged})
    message(FATAL_ERROR "window_depends: no staged component at ${staged}")
endif()

file(GLOB_RECURSE staged_files LIST_DIRECTORIES false ${staged}/*)
set(elf_files)
foreach(file IN LISTS staged_files)
    file(READ ${file} magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46" AND NOT IS_SYMLINK ${file})
        list(APPEND elf_files -e${file})
    endif()
endforeach()
if(NOT elf_files)
    message(FATAL_ERROR "window_depends: no program found in ${staged}")
endif()

# dpkg-shlibdeps reads debian/control of a source tree; an empty one in a scratch folder does.
set(scratch ${CPACK_TEMPORARY_DIRECTORY}/window-shlibdeps)
file(REMOVE_RECURSE ${scratch})
file(WRITE ${scratch}/debian/control "")
execute_process(COMMAND dpkg-shlibdeps -O --ignore-missing-info ${elf_files}
                WORKING_DIRECTORY ${scratch}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${scratch})
if(NOT rc EQUAL 0 OR NOT out MATCHES "shlibs:Depends=([^\n]+)")
    message(FATAL_ERROR "window_depends: dpkg-shlibdeps failed (${rc}):\n${out}${err}")
endif()
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_VOCAFETCH_GUI_DEPENDS}")
message(STATUS "vocafetch depends on: ${CPACK_DEBIAN_GUI_PACKAGE_DEPENDS}")
