# Writes a C++ source that holds one skin file as a byte array, so the program reads no file for
# its skin. Run as: cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P embed_skin_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Twenty bytes a line keeps the generated file readable in a diff viewer.
set(line_pattern "")
foreach(i RANGE 1 20)
    string(APPEND line_pattern "0x[0-9a-f][0-9a-f],")
endforeach()
string(REGEX REPLACE "(${line_pattern})" "\\1\n" bytes "${bytes}")
if(size EQUAL 0)
    set(bytes "0")
    set(size 0)
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include <cstddef>
extern const unsigned char ${SYMBOL}[];
extern const std::size_t ${SYMBOL}_size;
const unsigned char ${SYMBOL}[] = {
${bytes}};
const std::size_t ${SYMBOL}_size = ${size};
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
