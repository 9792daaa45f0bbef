# SPDX-License-Identifier: GPL-3.0-or-later
# Run as a script: cmake -DTOOL=... [-DARGS=option,option] -DFILE=... -P check_validates.cmake
# Passes only when the validator accepts FILE without a single error, warning, hint or note:
# desktop-file-validate reports hints with a zero exit status.
string(REPLACE "," ";" ARGS "${ARGS}")
execute_process(COMMAND ${TOOL} ${ARGS} ${FILE}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EWIP]: " OR out MATCHES ": (error|warning|hint): ")
    message(FATAL_ERROR "${TOOL} does not accept ${FILE} (exit ${rc}):\n${out}")
endif()
message(STATUS "${TOOL}: ${FILE} is valid")
