# Zero-warning policy for everything we compile ourselves.
function(vibralon_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror=return-type)
    if(VIBRALON_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# Adds every immediate subfolder of the current source dir that has a CMakeLists.txt.
function(vibralon_add_subfolders)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child IN LISTS children)
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
           AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
