# Writes a C++ source whose function FUNCTION returns the bytes of INPUT as a std::string_view.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=Name -DHEADER=path/to/header.h -P EmbedText.cmake
# The bytes are written as character literals, which every compiler takes at any length.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# One line of the output for each line of the input.
string(REPLACE "'\\x0a'," "'\\x0a',\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Written by the build from ${INPUT}: do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace {\nconstexpr char kBytes[] = {\n  ${bytes}\n};\n}  // namespace\n\n"
  "std::string_view ${FUNCTION}() { return {kBytes, sizeof kBytes}; }\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
