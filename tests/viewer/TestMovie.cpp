#include "TestMovie.h"

#include "SwfWriter.h"

std::string testMovie(int frames) {
    swf::MovieWriter movie(200, 150, 12, {0x20, 0x40, 0xa0});
    const auto square = movie.define(swf::Shape::rect(50, 50, {0xe0, 0x20, 0x20}));
    for (int i = 0; i < frames; ++i) {
        movie.place(1, square, {35.0 + i * 130.0 / frames, 75});
        movie.showFrame();
    }
    return movie.bytes();
}
