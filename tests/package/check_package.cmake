# SPDX-License-Identifier: GPL-3.0-or-later
# Run as a script: cmake -DBUILD_DIR=... -DVERSION=... -DWORK=... -P check_package.cmake
# Builds the Debian packages with cpack, unpacks them into WORK/root and checks what each holds
# and declares. The lintian and software-centre tests look at the packages left in WORK.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/root)

execute_process(COMMAND cpack -G DEB -B ${WORK}/out WORKING_DIRECTORY ${BUILD_DIR}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${out}")
endif()

set(deb_version ${VERSION}-1)
foreach(package vocafetch-cli vocafetch)
    file(GLOB deb ${WORK}/out/${package}_${deb_version}_*.deb)
    if(NOT deb)
        file(GLOB made ${WORK}/out/*.deb)
        message(FATAL_ERROR "no package ${package} ${deb_version} among: ${made}")
    endif()
    set(deb_${package} ${deb})
    execute_process(COMMAND dpkg -x ${deb} ${WORK}/root RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "dpkg -x ${deb} failed")
    endif()
endforeach()

function(depends_of deb out_var)
    execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends RESULT_VARIABLE rc
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "dpkg-deb -f ${deb} failed")
    endif()
    set(${out_var} "${depends}" PARENT_SCOPE)
endfunction()

# The command-line tool installs without the window's libraries and fonts.
depends_of(${deb_vocafetch-cli} cli_depends)
foreach(needed libqt6core6 libsndfile1 libopencore-amrnb0)
    if(NOT cli_depends MATCHES "(^|, )${needed}[ ,(]|${needed}$")
        message(FATAL_ERROR "vocafetch-cli does not depend on ${needed}: '${cli_depends}'")
    endif()
endforeach()
if(cli_depends MATCHES "widgets|multimedia|gui6|qpa|fonts-|vocafetch")
    message(FATAL_ERROR "vocafetch-cli depends on the window's packages: '${cli_depends}'")
endif()

depends_of(${deb_vocafetch} gui_depends)
foreach(needed "vocafetch-cli \\(= ${deb_version}\\)" libqt6widgets6 libqt6multimedia6
               qt6-qpa-plugins)
    if(NOT gui_depends MATCHES "${needed}")
        message(FATAL_ERROR "vocafetch does not depend on ${needed}: '${gui_depends}'")
    endif()
endforeach()

# The private phone library needs no ldconfig: the window's package has no maintainer scripts.
execute_process(COMMAND dpkg-deb -e ${deb_vocafetch} ${WORK}/control-vocafetch RESULT_VARIABLE rc)
file(GLOB scripts ${WORK}/control-vocafetch/post* ${WORK}/control-vocafetch/pre*
     ${WORK}/control-vocafetch/triggers)
if(NOT rc EQUAL 0 OR scripts)
    message(FATAL_ERROR "the window's package runs scripts or triggers: ${scripts}")
endif()

set(root ${WORK}/root)
foreach(f usr/bin/vocafetch usr/bin/vocafetch-cli usr/lib/vocafetch/libp2kapi.so
          usr/share/applications/vocafetch.desktop usr/share/mime/packages/vocafetch.xml
          usr/share/metainfo/io.github.vocafetch.vocafetch.metainfo.xml
          usr/share/man/man1/vocafetch-cli.1.gz usr/share/man/man1/vocafetch.1.gz
          usr/share/doc/vocafetch/copyright usr/share/doc/vocafetch/changelog.Debian.gz
          usr/share/doc/vocafetch-cli/copyright usr/share/doc/vocafetch-cli/changelog.Debian.gz
          usr/share/icons/hicolor/48x48/apps/vocafetch.png
          usr/share/icons/hicolor/256x256/apps/vocafetch.png
          usr/share/icons/hicolor/scalable/apps/vocafetch.svg)
    if(NOT EXISTS ${root}/${f})
        message(FATAL_ERROR "the packages lack ${f}")
    endif()
endforeach()

# The packaging's changelog speaks of the version the packages carry.
execute_process(COMMAND gzip -dc ${root}/usr/share/doc/vocafetch/changelog.Debian.gz
                OUTPUT_VARIABLE changelog RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT changelog MATCHES "^vocafetch \\(${deb_version}\\) ")
    string(REGEX MATCH "^[^\n]*" first "${changelog}")
    message(FATAL_ERROR "packaging/changelog begins '${first}', not with version ${deb_version}")
endif()

# Each icon is the size its folder names (a PNG's width and height follow its IHDR tag).
foreach(size 16 32 48 64 128 256)
    set(icon ${root}/usr/share/icons/hicolor/${size}x${size}/apps/vocafetch.png)
    file(READ ${icon} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "${icon} is ${width} x ${height}, not ${size} x ${size}")
    endif()
endforeach()

# Software centres find the program through the desktop entry that its metainfo names.
file(READ ${root}/usr/share/metainfo/io.github.vocafetch.vocafetch.metainfo.xml metainfo)
string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]+)</launchable>" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 OR NOT EXISTS ${root}/usr/share/applications/${CMAKE_MATCH_1})
    message(FATAL_ERROR "the metainfo launches '${CMAKE_MATCH_1}', which the package lacks")
endif()

execute_process(COMMAND ${root}/usr/bin/vocafetch-cli --version
                RESULT_VARIABLE rc OUTPUT_VARIABLE version ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT version MATCHES "${VERSION}")
    message(FATAL_ERROR "the unpacked vocafetch-cli --version gave '${version}${err}' (exit ${rc})")
endif()
message(STATUS "packages ok: ${deb_vocafetch-cli} ${deb_vocafetch}")
