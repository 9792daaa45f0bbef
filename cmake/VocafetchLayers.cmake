# Layers the build enforces: a library shows other folders its public headers only.
#
# vocafetch_library_headers(<target> FOLDER <folder> PUBLIC <header>...)
#
# <folder> is the library's folder below the top of the tree ("skin"), each <header> a path
# inside it ("chrome/TsuiForm.h"). Headers keep being included with their folder
# ("skin/chrome/TsuiForm.h"); what a target can reach depends on which include folder it gets,
# both built in the build tree:
#   layers/<target>/public   links to the listed headers only, exported PUBLIC;
#   layers/<target>/private  a link to the whole folder, seen by the library's own sources and,
#                            through the INTERFACE target <target>_internal, by what links that
#                            (the library's tests, its own executables).
# No target gets the top of the tree, so including another library's internal header fails to
# compile. The list of public headers is kept in the target property VOCAFETCH_PUBLIC_HEADERS.
function(vocafetch_library_headers target)
    cmake_parse_arguments(L "" "FOLDER" "PUBLIC" ${ARGN})
    if(NOT L_FOLDER)
        message(FATAL_ERROR "vocafetch_library_headers(${target}): FOLDER is missing")
    endif()
    set(layer_dir ${PROJECT_BINARY_DIR}/layers/${target})
    set(public_dir ${layer_dir}/public)
    set(private_dir ${layer_dir}/private)

    # Built afresh at every configure, so a header taken off the list stops being reachable.
    # The public folder holds real folders and links to files only, never a link to a folder.
    file(REMOVE_RECURSE ${public_dir})
    set(public_paths "")
    foreach(header IN LISTS L_PUBLIC)
        set(original ${PROJECT_SOURCE_DIR}/${L_FOLDER}/${header})
        if(NOT EXISTS ${original})
            message(FATAL_ERROR "${target}: the public header ${L_FOLDER}/${header} does not exist")
        endif()
        set(link ${public_dir}/${L_FOLDER}/${header})
        get_filename_component(link_dir ${link} DIRECTORY)
        file(MAKE_DIRECTORY ${link_dir})
        file(CREATE_LINK ${original} ${link} SYMBOLIC)
        list(APPEND public_paths ${L_FOLDER}/${header})
    endforeach()
    file(MAKE_DIRECTORY ${public_dir})

    # The private folder is a single link named after the library's folder.
    set(folder_link ${private_dir}/${L_FOLDER})
    get_filename_component(folder_link_dir ${folder_link} DIRECTORY)
    file(MAKE_DIRECTORY ${folder_link_dir})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${L_FOLDER} ${folder_link} SYMBOLIC)

    # The library's own sources find their headers in the private folder first.
    target_include_directories(${target} PRIVATE ${private_dir} PUBLIC ${public_dir})
    set_property(TARGET ${target} PROPERTY VOCAFETCH_PUBLIC_HEADERS ${public_paths})

    add_library(${target}_internal INTERFACE)
    target_include_directories(${target}_internal INTERFACE ${private_dir})
    target_link_libraries(${target}_internal INTERFACE ${target})
endfunction()
