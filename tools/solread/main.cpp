// solread FILE...: prints each Flash save's name and its values, one "name = value" a line, or
// why the file cannot be read (then the exit status is 1).

#include "viewer/SolFile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: solread FILE.sol...\n");
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::string error;
        const auto file = viewer::SolFile::read(argv[i], &error);
        if (!file) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.c_str());
            status = 1;
            continue;
        }
        if (argc > 2) std::printf("%s:\n", argv[i]);
        std::printf("[%s] AMF%d\n", file->name().c_str(), file->amfVersion());
        for (const auto& [name, value] : file->values())
            std::printf("%s = %s\n", name.c_str(), value.toText().c_str());
    }
    return status;
}
