# The Windows installer, VibralonSetup-VERSION.exe in the build folder, made with NSIS (makensis) from
# dist/windows/installer.nsi whenever the program, the help or the licences change.
if(NOT TARGET vibralon)
    message(WARNING "No `vibralon` target: no installer")
    return()
endif()
find_program(VIBRALON_MAKENSIS makensis)
if(NOT VIBRALON_MAKENSIS)
    message(FATAL_ERROR "makensis is missing: install the nsis package (./test does)")
endif()

set(_installer ${PROJECT_BINARY_DIR}/VibralonSetup-${PROJECT_VERSION}.exe)
set(_script ${PROJECT_SOURCE_DIR}/dist/windows/installer.nsi)
set(_guide ${PROJECT_SOURCE_DIR}/help/guide.htm)
set(_icon ${PROJECT_SOURCE_DIR}/dist/windows/vibralon.ico)
set(_license ${PROJECT_SOURCE_DIR}/LICENSE)

# The notices of what is linked in statically: libjpeg-turbo (built here), stb_image's BMP
# reader, and the MinGW-w64 runtime with winpthreads and GCC's, as Debian's packages ship them.
set(_notices ${PROJECT_BINARY_DIR}/notices.txt)
set(_notices_script ${PROJECT_SOURCE_DIR}/dist/windows/notices.cmake)
set(_stb_terms /usr/share/doc/libstb-dev/copyright)
set(_winpthreads_terms /usr/share/doc/mingw-w64-x86-64-dev/copyright)
set(_gcc_terms /usr/share/doc/gcc-mingw-w64-x86-64-posix/copyright)
add_custom_command(
    OUTPUT ${_notices}
    COMMAND ${CMAKE_COMMAND} -DLICENSE=${_license} -DJPEG_SOURCE=${VIBRALON_JPEG_SOURCE_DIR}
            -DSTB=${_stb_terms} -DWINPTHREADS=${_winpthreads_terms} -DGCC=${_gcc_terms}
            -DOUTPUT=${_notices} -P ${_notices_script}
    DEPENDS ${_notices_script} ${_license} ${_stb_terms} ${_winpthreads_terms} ${_gcc_terms}
            mingw_libjpeg
    COMMENT "Gathering the licence notices for the installer"
    VERBATIM)
add_custom_command(
    OUTPUT ${_installer}
    COMMAND ${VIBRALON_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION}
            -DPROGRAM=$<TARGET_FILE:vibralon> -DLISTEN=$<TARGET_FILE:vibralon-listen>
            -DGUIDE=${_guide} -DICON=${_icon}
            -DLICENSE=${_license} -DNOTICES=${_notices} -DOUTFILE=${_installer} ${_script}
    DEPENDS vibralon vibralon-listen ${_script} ${_guide} ${_icon} ${_license} ${_notices}
    COMMENT "Making the installer VibralonSetup-${PROJECT_VERSION}.exe"
    VERBATIM)
add_custom_target(installer ALL DEPENDS ${_installer})
