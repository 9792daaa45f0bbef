# SPDX-License-Identifier: GPL-3.0-or-later
# Run as a script: cmake -DWORK=... -P check_lintian.cmake, after check_package.cmake.
# lintian --pedantic on every package built: any error or warning fails; informational and
# pedantic notes are shown. Without lintian the test says it is skipped.
find_program(LINTIAN lintian)
if(NOT LINTIAN)
    message(STATUS "SKIPPED: lintian is not installed (scripts/install-deps.sh test)")
    return()
endif()
file(GLOB debs ${WORK}/out/*.deb)
if(NOT debs)
    message(FATAL_ERROR "no packages in ${WORK}/out: run the package test first")
endif()
execute_process(COMMAND ${LINTIAN} --pedantic --info --tag-display-limit 0 --show-overrides ${debs}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(out MATCHES "(^|\n)[EW]: " OR NOT rc MATCHES "^[01]$")
    message(FATAL_ERROR "lintian finds errors or warnings in the packages (exit ${rc})")
endif()
