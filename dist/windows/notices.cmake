# Writes notices.txt, installed beside vibralon.exe: the program's licence, then the terms of
# each library built into it, as their Debian packages give them (libjpeg-turbo's from its
# source tree). A binary release must carry these: libjpeg-turbo's terms ask for them in its
# documentation, the others for their notices to travel with every copy.
#   cmake -DLICENSE=... -DJPEG_SOURCE=... -DSTB=... -DWINPTHREADS=... -DGCC=... -DOUTPUT=...
#         -P notices.cmake
foreach(input LICENSE JPEG_SOURCE STB WINPTHREADS GCC OUTPUT)
    if(NOT DEFINED ${input})
        message(FATAL_ERROR "notices.cmake: ${input} is not given")
    endif()
endforeach()

set(_text "")
# Appends a titled section with the contents of the files given after the title.
function(add_section title)
    set(text "${_text}")
    string(REPEAT "=" 78 rule)
    string(APPEND text "${rule}\n${title}\n${rule}\n\n")
    foreach(file IN LISTS ARGN)
        if(NOT EXISTS "${file}")
            message(FATAL_ERROR "notices.cmake: ${file} is missing")
        endif()
        file(READ "${file}" contents)
        string(APPEND text "${contents}\n")
    endforeach()
    set(_text "${text}" PARENT_SCOPE)
endfunction()

add_section("Vibralon" "${LICENSE}")
add_section("stb_image (its BMP reader), from Debian's libstb-dev" "${STB}")
add_section("libjpeg-turbo, from Debian's libjpeg-turbo source package"
            "${JPEG_SOURCE}/LICENSE.md" "${JPEG_SOURCE}/README.ijg")
add_section("winpthreads and the MinGW-w64 runtime, from Debian's mingw-w64-x86-64-dev"
            "${WINPTHREADS}")
add_section("The GCC runtime (libgcc, libstdc++), from Debian's gcc-mingw-w64-x86-64-posix"
            "${GCC}")

# Windows' own line ends, for Notepad and the like.
string(REPLACE "\r\n" "\n" _text "${_text}")
string(REPLACE "\n" "\r\n" _text "${_text}")
file(WRITE "${OUTPUT}" "${_text}")
