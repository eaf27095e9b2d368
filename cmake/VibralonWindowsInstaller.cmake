# The Windows installer, VibralonSetup.exe in the build folder, made with NSIS (makensis) from
# dist/windows/installer.nsi whenever the program or the help changes.
if(NOT TARGET vibralon)
    message(WARNING "No `vibralon` target: no installer")
    return()
endif()
find_program(VIBRALON_MAKENSIS makensis)
if(NOT VIBRALON_MAKENSIS)
    message(FATAL_ERROR "makensis is missing: install the nsis package (./test does)")
endif()

set(_installer ${PROJECT_BINARY_DIR}/VibralonSetup.exe)
set(_script ${PROJECT_SOURCE_DIR}/dist/windows/installer.nsi)
set(_guide ${PROJECT_SOURCE_DIR}/help/guide.htm)
set(_icon ${PROJECT_SOURCE_DIR}/ui/skin/art/MAINICON.ico)
add_custom_command(
    OUTPUT ${_installer}
    COMMAND ${VIBRALON_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION}
            -DPROGRAM=$<TARGET_FILE:vibralon> -DGUIDE=${_guide} -DICON=${_icon}
            -DOUTFILE=${_installer} ${_script}
    DEPENDS vibralon ${_script} ${_guide} ${_icon}
    COMMENT "Making the installer VibralonSetup.exe"
    VERBATIM)
add_custom_target(installer ALL DEPENDS ${_installer})
