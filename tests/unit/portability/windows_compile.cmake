# cmake -DCOMPILER=... -DSOURCE_DIR=... -DPROBE=... -DWORK_DIR=... -P windows_compile.cmake
# Compiles every source and header of capture/, analysis/, worker/ and ui/ (and winapi.h) for
# Windows; any diagnostic at all fails, as it would in a Windows build with warnings as errors.
if(NOT COMPILER)
    message(FATAL_ERROR "The Windows cross compiler x86_64-w64-mingw32-g++-posix is missing. "
                        "Install it: apt-get install g++-mingw-w64-x86-64-posix "
                        "(./test installs it), then configure again.")
endif()

# The picture decoders' libraries (libjpeg, stb_image) are plain C headers: copies of just those
# stand in for the Windows build's own, so that no other Linux header can be found by mistake.
set(third_party ${WORK_DIR}/third_party)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${third_party})
foreach(header /usr/include/jpeglib.h /usr/include/jmorecfg.h /usr/include/jerror.h
               /usr/include/stb/stb_image.h)
    file(COPY ${header} DESTINATION ${third_party})
endforeach()
file(GLOB jconfig /usr/include/*/jconfig.h)
file(COPY ${jconfig} DESTINATION ${third_party})

set(flags -std=c++20 -Wall -Wextra -Wpedantic -Werror -I${SOURCE_DIR} -isystem ${third_party}
          -fsyntax-only)

file(GLOB_RECURSE sources ${SOURCE_DIR}/capture/*.cpp ${SOURCE_DIR}/analysis/*.cpp
     ${SOURCE_DIR}/worker/*.cpp ${SOURCE_DIR}/ui/*.cpp)
file(GLOB_RECURSE headers ${SOURCE_DIR}/capture/*.h ${SOURCE_DIR}/analysis/*.h
     ${SOURCE_DIR}/worker/*.h ${SOURCE_DIR}/ui/*.h)
list(APPEND headers ${SOURCE_DIR}/platform/winapi.h)
foreach(folder capture analysis worker ui)
    if(NOT sources MATCHES "/${folder}/[^;]*\\.cpp")
        message(FATAL_ERROR "no sources found in ${SOURCE_DIR}/${folder}")
    endif()
endforeach()

# A header compiled on its own must bring everything it uses; it is the main file of a
# one-line unit so that #pragma once does not warn.
set(units ${PROBE} ${sources})
foreach(header IN LISTS headers)
    file(RELATIVE_PATH relative ${SOURCE_DIR} ${header})
    string(MAKE_C_IDENTIFIER ${relative} name)
    file(WRITE ${WORK_DIR}/${name}.cpp "#include \"${relative}\"\n")
    list(APPEND units ${WORK_DIR}/${name}.cpp)
endforeach()

set(failed 0)
list(LENGTH units count)
foreach(unit IN LISTS units)
    execute_process(COMMAND ${COMPILER} ${flags} ${unit} RESULT_VARIABLE result
                    OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0 OR NOT out STREQUAL "")
        message("FAILED for Windows: ${unit}\n${out}")
        math(EXPR failed "${failed} + 1")
    endif()
endforeach()

if(failed GREATER 0)
    message(FATAL_ERROR "${failed} of ${count} units do not compile cleanly for Windows")
endif()
message(STATUS "${count} units compile cleanly for Windows")
