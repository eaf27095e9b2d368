# Run by `cmake --install` and by CPack: writes the desktop entry for the prefix being installed
# to, not the one configured, so `--prefix` and the package's /usr both get true paths.
# The caller sets VIBRALON_APP_ID, VIBRALON_DESKTOP_TEMPLATE, VIBRALON_STAGE_DIR,
# VIBRALON_BINDIR and VIBRALON_DATADIR (the GNUInstallDirs values, relative or absolute).

foreach(kind BINDIR DATADIR)
    if(IS_ABSOLUTE "${VIBRALON_${kind}}")
        set(full_${kind} "${VIBRALON_${kind}}")
    else()
        set(full_${kind} "${CMAKE_INSTALL_PREFIX}/${VIBRALON_${kind}}")
    endif()
endforeach()

# The program opens "help\guide.htm" from its current directory, so it starts where the help
# folder is installed.
set(VIBRALON_WORKING_DIR "${full_DATADIR}/vibralon")

# Exec takes a quoted argument when the path holds a reserved character; inside the quotes ",
# `, $ and \ are escaped, and every backslash is escaped once more as the value is a string.
set(program "${full_BINDIR}/vibralon")
string(REPLACE "%" "%%" program "${program}")
if(program MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" program "${program}")
    set(program "\"${program}\"")
endif()
string(REPLACE "\\" "\\\\" VIBRALON_EXEC "${program}")
string(REPLACE "\\" "\\\\" VIBRALON_WORKING_DIR "${VIBRALON_WORKING_DIR}")

# One staged copy per destination, so concurrent installs to different prefixes do not collide.
string(MD5 destination "${full_DATADIR}")
set(staged "${VIBRALON_STAGE_DIR}/${destination}/${VIBRALON_APP_ID}.desktop")
configure_file("${VIBRALON_DESKTOP_TEMPLATE}" "${staged}" @ONLY)
file(INSTALL "${staged}" DESTINATION "${full_DATADIR}/applications"
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
