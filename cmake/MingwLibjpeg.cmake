# JPEG::JPEG for the Windows build. Debian ships no MinGW libjpeg, so libjpeg-turbo is built here
# from Debian's own source package, statically, once per build tree (ExternalProject's stamps),
# with the same toolchain as the program. Fetching needs a deb-src entry in apt's sources;
# ./test adds one (scripts/deps.sh).
include(ExternalProject)

set(_jpeg_root ${PROJECT_BINARY_DIR}/third_party/libjpeg-turbo)
set(_jpeg_prefix ${_jpeg_root}/install)
set(_jpeg_library ${_jpeg_prefix}/lib/libjpeg.a)
# The imported target names this folder before anything is built in it.
file(MAKE_DIRECTORY ${_jpeg_prefix}/include)

set(_jpeg_launchers "")
foreach(language C CXX)
    if(CMAKE_${language}_COMPILER_LAUNCHER)
        list(APPEND _jpeg_launchers
             -DCMAKE_${language}_COMPILER_LAUNCHER=${CMAKE_${language}_COMPILER_LAUNCHER})
    endif()
endforeach()

ExternalProject_Add(mingw_libjpeg
    PREFIX ${_jpeg_root}
    SOURCE_DIR ${_jpeg_root}/source
    BINARY_DIR ${_jpeg_root}/build
    DOWNLOAD_COMMAND ${CMAKE_COMMAND} -DPACKAGE=libjpeg-turbo -DDESTINATION=<SOURCE_DIR>
                     -DWORK_DIR=${_jpeg_root}/download
                     -P ${CMAKE_CURRENT_LIST_DIR}/fetch-debian-source.cmake
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
               -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=${_jpeg_prefix}
               -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
               # The C code paths only: no assembler needed, and the skin's few small
               # pictures are decoded once each.
               -DWITH_SIMD=OFF
               ${_jpeg_launchers}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
    # The library and its four public headers, as libjpeg-turbo installs them.
    INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${_jpeg_prefix}/lib
            COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a ${_jpeg_library}
            COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/jconfig.h <SOURCE_DIR>/jpeglib.h
                    <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h ${_jpeg_prefix}/include
    BUILD_BYPRODUCTS ${_jpeg_library}
    LOG_DOWNLOAD ON
    LOG_CONFIGURE ON
    LOG_BUILD ON
    LOG_OUTPUT_ON_FAILURE ON)

# The installer carries the library's licence, from its source tree.
set(VIBRALON_JPEG_SOURCE_DIR ${_jpeg_root}/source CACHE INTERNAL "libjpeg-turbo's source tree")

add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
set_target_properties(JPEG::JPEG PROPERTIES
    IMPORTED_LOCATION ${_jpeg_library}
    INTERFACE_INCLUDE_DIRECTORIES ${_jpeg_prefix}/include)
add_dependencies(JPEG::JPEG mingw_libjpeg)
