# Writes a C++ source that holds files as bytes, run as a build step:
#   cmake -DOUTPUT=FILE.cpp -DHEADER=NAME.h -DNAMESPACE=NS -DTABLE=NAME -DFILES=a;b;c -P EmbedFiles.cmake
# The source defines `const std::vector<std::pair<std::string_view, std::string_view>> NS::NAME`,
# one (file name, bytes) pair per file in the order given.
set(body "// Written by cmake/EmbedFiles.cmake at build time.\n#include \"${HEADER}\"\n\nnamespace {\n")
set(rows "")
set(index 0)
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME)
    file(READ ${file} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
    string(APPEND body "constexpr char file${index}[] = \"${escaped}\";\n")
    string(APPEND rows "    {\"${name}\", {file${index}, sizeof file${index} - 1}},\n")
    math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "} // namespace\n\nnamespace ${NAMESPACE} {\n\n"
    "const std::vector<std::pair<std::string_view, std::string_view>> ${TABLE} = {\n${rows}};\n\n"
    "} // namespace ${NAMESPACE}\n")
file(WRITE ${OUTPUT} "${body}")
