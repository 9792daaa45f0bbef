# SPDX-License-Identifier: GPL-3.0-or-later
# Run as a script: cmake -DWORK=... -DCOMPONENT_ID=... -P check_compose.cmake, after
# check_package.cmake. Composes the software-centre catalog from the unpacked packages, as a
# distribution does: the program must come out of it, with its icons, and without a warning.
find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
    message(STATUS "SKIPPED: appstreamcli is not installed (scripts/install-deps.sh test)")
    return()
endif()
set(result ${WORK}/compose)
file(REMOVE_RECURSE ${result})
execute_process(COMMAND ${APPSTREAMCLI} compose --no-net --no-color --print-report=full
                        --origin=vocafetch --result-root=${result} ${WORK}/root
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT rc EQUAL 0 AND "${out}${err}" MATCHES "not found|Compose binary")
    message(STATUS "SKIPPED: the compose addon is not installed (appstream-compose)")
    return()
endif()
if(NOT rc EQUAL 0 OR "${out}${err}" MATCHES "(^|\n) *[EW]: ")
    message(FATAL_ERROR "appstreamcli compose reports problems (exit ${rc})")
endif()

file(GLOB_RECURSE catalog ${result}/*.xml.gz)
file(GLOB_RECURSE icons ${result}/*vocafetch*.png)
if(NOT catalog OR NOT icons)
    message(FATAL_ERROR "the composed catalog lacks the program or its icons: ${catalog} ${icons}")
endif()
execute_process(COMMAND gzip -dc ${catalog} OUTPUT_VARIABLE xml RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT xml MATCHES "<id>${COMPONENT_ID}</id>" OR NOT xml MATCHES "<icon type=\"cached\"")
    message(FATAL_ERROR "the composed catalog does not list ${COMPONENT_ID} with its icon:\n${xml}")
endif()
message(STATUS "composed: ${catalog}, icons: ${icons}")
