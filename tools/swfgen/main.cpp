// swfgen: writes the bundled store's Flash movies into a folder, or checks movie files.
//   swfgen FOLDER          writes every movie of the catalogue into FOLDER
//   swfgen --check FILE... reads each file back and prints its stage, frames and parts

#include "MovieCatalogue.h"
#include "SwfReader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

int check(int count, char** files) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        std::ifstream in(files[i], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        try {
            const auto movie = swf::readMovie(bytes);
            const std::set<std::string> distinct(movie.frames.begin(), movie.frames.end());
            std::printf("%s: version %d%s, %dx%d, %.1f fps, %d frames (%zu different), %d shapes, %d edges, "
                        "%d placements, %zu bytes",
                        files[i], movie.version, movie.compressed ? " compressed" : "", movie.widthPx,
                        movie.heightPx, movie.frameRate, movie.frameCount, distinct.size(), movie.shapes,
                        movie.edges, movie.placements, bytes.size());
            if (movie.actionScript3)
                std::printf(", ActionScript 3 (%d script blocks, document class %s)", movie.scriptBlocks,
                            movie.documentClass.c_str());
            std::printf("\n");
        } catch (const std::exception& e) {
            std::printf("%s: INVALID: %s\n", files[i], e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--check") return check(argc - 2, argv + 2);
    if (argc != 2) {
        std::fprintf(stderr, "usage: swfgen FOLDER | swfgen --check FILE...\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& name : swf::movieNames()) {
        std::ofstream(folder / name, std::ios::binary) << *swf::movieBytes(name);
        std::printf("%s\n", (folder / name).c_str());
    }
    return 0;
}
