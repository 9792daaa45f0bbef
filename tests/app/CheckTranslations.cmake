# Fails while a translation lacks a text of the window or keeps one the window no longer has:
# lupdate refreshes a copy of TS_FILE from the sources listed in SOURCE_LIST (one a line) and
# any new, changed or removed text shows up in the copy as unfinished, vanished or obsolete.
# The sources include headers from INCLUDE_DIR, where lupdate learns the namespaces of classes.
# cmake -DLUPDATE=... -DTS_FILE=... -DSOURCE_LIST=... -DINCLUDE_DIR=... -DWORK_DIR=... -P CheckTranslations.cmake
get_filename_component(ts_name "${TS_FILE}" NAME)
set(copy "${WORK_DIR}/${ts_name}")
file(MAKE_DIRECTORY "${WORK_DIR}")
configure_file("${TS_FILE}" "${copy}" COPYONLY)
execute_process(COMMAND "${LUPDATE}" -locations none -silent "-I${INCLUDE_DIR}" "@${SOURCE_LIST}" -ts "${copy}"
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${result}): ${errors}")
endif()
file(READ "${copy}" refreshed)
string(REGEX MATCHALL "<source>[^<]*</source>[ \t\r\n]*(<comment>[^<]*</comment>[ \t\r\n]*)?<translation type=\"(unfinished|vanished|obsolete)\"" stale "${refreshed}")
string(REGEX MATCHALL "<numerusform></numerusform>" empty_forms "${refreshed}")
list(LENGTH stale stale_count)
list(LENGTH empty_forms empty_count)
if(stale_count GREATER 0 OR empty_count GREATER 0)
    string(REPLACE ";" "\n" stale_list "${stale}")
    message(FATAL_ERROR "${ts_name} is not complete: ${stale_count} texts without a finished "
                        "translation, ${empty_count} empty plural forms. Run the target "
                        "update_translations and translate them.\n${stale_list}")
endif()
message(STATUS "${ts_name}: every text is translated")
