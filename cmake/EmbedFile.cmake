# Writes a C++ source holding a file's bytes:
#   cmake -DINPUT=… -DOUTPUT=… -DFUNCTION=… [-DLIMIT=N] -P EmbedFile.cmake
# FUNCTION names a function returning PictureBytes (see ui/Picture.h); LIMIT > 0 keeps only the
# first N bytes, a truncated copy for fault tests.
if(LIMIT GREATER 0)
  file(READ "${INPUT}" hex HEX LIMIT ${LIMIT})
else()
  file(READ "${INPUT}" hex HEX)
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
       bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n#include \"Picture.h\"\n\n"
     "namespace {\nconst unsigned char kBytes[] = {\n${bytes}\n};\n}  // namespace\n\n"
     "PictureBytes ${FUNCTION}() { return {kBytes, sizeof kBytes}; }\n")
