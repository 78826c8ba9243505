// swfgen: checks movie files.
//   swfgen --check FILE... reads each file back and prints its stage, frames and parts

#include "SwfReader.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

int check(int count, char** files) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        std::ifstream in(files[i], std::ios::binary);
        if (!in) {
            std::printf("%s: cannot be read\n", files[i]);
            ++failures;
            continue;
        }
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
            if (movie.actionBlocks > 0)
                std::printf(", ActionScript 2 (%d action blocks, %d actions)", movie.actionBlocks,
                            movie.actions);
            if (!movie.texts.empty())
                std::printf(", %zu text fields in %zu fonts", movie.texts.size(), movie.fonts.size());
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
    std::fprintf(stderr, "usage: swfgen --check FILE...\n");
    return 2;
}
