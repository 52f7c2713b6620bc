# Links walkthrough_warnings into every target that this project defines, in this folder and the
# folders below it that belong to the project. Folders added from outside the source tree (Debian's
# googletest sources for the Windows tests) are left alone.
function(walkthrough_link_warnings directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            target_link_libraries(${target} PRIVATE walkthrough_warnings)
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${subdirectory} NORMALIZE inside)
        if(inside)
            walkthrough_link_warnings(${subdirectory})
        endif()
    endforeach()
endfunction()
