# cmake -DPACKAGE=name -DDESTINATION=dir -DWORK_DIR=dir -P fetch-debian-source.cmake
# Unpacks Debian's source package PACKAGE (upstream source with Debian's patches) into
# DESTINATION, with apt-get source.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND apt-get source -qq ${PACKAGE}
                WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE result
                ERROR_VARIABLE errors)
file(GLOB unpacked LIST_DIRECTORIES true ${WORK_DIR}/${PACKAGE}-*)
list(FILTER unpacked EXCLUDE REGEX "\\.(tar\\..*|dsc|asc)$")
if(NOT result EQUAL 0 OR NOT unpacked)
    message(FATAL_ERROR "apt-get source ${PACKAGE} failed:\n${errors}\n"
                        "It needs a deb-src entry in apt's sources, as ./test adds: copy the "
                        "`Types: deb` stanzas of /etc/apt/sources.list.d/debian.sources into a "
                        "new .sources file with `Types: deb-src`, then run apt-get update.")
endif()
list(GET unpacked 0 unpacked)
file(REMOVE_RECURSE ${DESTINATION})
file(RENAME ${unpacked} ${DESTINATION})
