# Run as a script: cmake -DBUILD_DIR=... -DVERSION=... -P check_package.cmake
set(work ${BUILD_DIR}/package-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/root)

execute_process(COMMAND cpack -G DEB -B ${work}/out WORKING_DIRECTORY ${BUILD_DIR}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB debs ${work}/out/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package, found: ${debs}")
endif()

execute_process(COMMAND dpkg-deb -f ${debs} Depends OUTPUT_VARIABLE depends RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT depends MATCHES "libqt6core6" OR NOT depends MATCHES "libqt6widgets6")
    message(FATAL_ERROR "the package does not declare its Qt dependencies: '${depends}'")
endif()

execute_process(COMMAND dpkg -x ${debs} ${work}/root RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dpkg -x failed")
endif()
foreach(f usr/bin/vocafetch usr/bin/vocafetch-cli usr/lib/vocafetch/libp2kapi.so
          usr/share/applications/vocafetch.desktop usr/share/mime/packages/vocafetch.xml
          usr/share/metainfo/io.github.vocafetch.vocafetch.metainfo.xml
          usr/share/man/man1/vocafetch-cli.1 usr/share/icons/hicolor/48x48/apps/vocafetch.png)
    if(NOT EXISTS ${work}/root/${f})
        message(FATAL_ERROR "the package lacks ${f}")
    endif()
endforeach()

# Software centres find the program through the desktop entry that its metainfo names.
file(READ ${work}/root/usr/share/metainfo/io.github.vocafetch.vocafetch.metainfo.xml metainfo)
string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]+)</launchable>" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 OR NOT EXISTS ${work}/root/usr/share/applications/${CMAKE_MATCH_1})
    message(FATAL_ERROR "the metainfo launches '${CMAKE_MATCH_1}', which the package lacks")
endif()

execute_process(COMMAND ${work}/root/usr/bin/vocafetch-cli --version
                RESULT_VARIABLE rc OUTPUT_VARIABLE version ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT version MATCHES "${VERSION}")
    message(FATAL_ERROR "the unpacked vocafetch-cli --version gave '${version}${err}' (exit ${rc})")
endif()
message(STATUS "package ok: ${debs}")
