# The class folder's documents are grown at build time from sources in resources/class-src by
# small tools over the program's own core, each run as "<tool> <source folder> <class folder>"
# and followed by qvtool validate over the whole class folder.

# A builder `name` made from `main` and the library `lib`: a build tool, not part of the
# program folder.
function(quorvel_class_tool name main lib)
    add_executable(${name} ${main})
    target_link_libraries(${name} PRIVATE ${lib})
    target_compile_options(${name} PRIVATE ${QUORVEL_CORE_WARNINGS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# The target `target` runs TOOL over SOURCE_DIR into the class folder, making OUTPUTS, then
# checks the class folder. DEPENDS names the sources and the class steps to run first: each
# step checks the whole folder, so no two may write into it at once.
function(quorvel_class_documents target)
    cmake_parse_arguments(ARG "" "TOOL;SOURCE_DIR;COMMENT" "OUTPUTS;DEPENDS" ${ARGN})
    add_custom_command(OUTPUT ${ARG_OUTPUTS}
        COMMAND ${ARG_TOOL} ${ARG_SOURCE_DIR} ${QUORVEL_CLASS_DIR}
        COMMAND ${CMAKE_COMMAND} -DQVTOOL=$<TARGET_FILE:qvtool> -DCLASS_DIR=${QUORVEL_CLASS_DIR}
                -P ${CMAKE_SOURCE_DIR}/cmake/ValidateClass.cmake
        DEPENDS ${ARG_TOOL} qvtool ${ARG_DEPENDS}
        COMMENT "${ARG_COMMENT}")
    add_custom_target(${target} ALL DEPENDS ${ARG_OUTPUTS})
endfunction()

# The class-folder paths <name>.<extension> of `sources`, into `out`.
function(quorvel_class_outputs out extension)
    set(paths)
    foreach(source ${ARGN})
        get_filename_component(name ${source} NAME_WE)
        list(APPEND paths ${QUORVEL_CLASS_DIR}/${name}.${extension})
    endforeach()
    set(${out} ${paths} PARENT_SCOPE)
endfunction()
