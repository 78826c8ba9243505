#include "MovieCatalogue.h"

#include "SwfWriter.h"

#include <cmath>
#include <functional>
#include <numbers>

namespace swf {

namespace {

constexpr int kWidth = 550, kHeight = 400;
constexpr double kPi = std::numbers::pi;

Rgba rgb(std::uint32_t colour, std::uint8_t alpha = 255) {
    return {static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
            static_cast<std::uint8_t>(colour), alpha};
}

// Phase of frame f in a loop of n frames, 0 to 1.
double phase(int f, int n) {
    return static_cast<double>(f) / n;
}

// A movie of `frames` frames: static scenery first (depth 1 onwards), then draw(f) places the
// moving parts of frame f before each frame is shown.
struct Scene {
    MovieWriter movie;
    std::uint16_t depth = 1;
    Scene(std::uint32_t background, double fps = 24) : movie(kWidth, kHeight, fps, rgb(background)) {}
    // Places a shape once (scenery); returns its depth.
    std::uint16_t still(const Shape& shape, Placement at) {
        movie.place(depth, movie.define(shape), at);
        return depth++;
    }
    std::string run(int frames, const std::function<void(int)>& draw) {
        for (int f = 0; f < frames; ++f) {
            draw(f);
            movie.showFrame();
        }
        return movie.bytes();
    }
};

// Falling tetrominoes that turn as they fall, over a stack of settled rows.
std::string blocks() {
    Scene s(0x101830, 20);
    const auto piece = [](std::initializer_list<std::pair<int, int>> cells, std::uint32_t colour) {
        Shape shape(rgb(colour));
        shape.outline(1.5, rgb(0xFFFFFF, 120));
        for (auto [cx, cy] : cells) {
            const double x = cx * 24 - 24, y = cy * 24 - 24;
            shape.moveTo(x, y).lineTo(x + 23, y).lineTo(x + 23, y + 23).lineTo(x, y + 23);
        }
        return shape;
    };
    s.still(Shape::rect(290, 400, rgb(0x1C2848)), {275, 200});
    const std::uint32_t rowColours[] = {0x3DB2FF, 0xFFB23D, 0x7BD35A};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 12; ++col)
            if ((col * 7 + row * 3) % 5 != 0)
                s.still(Shape::rect(23, 23, rgb(rowColours[(col + row) % 3])),
                        {143.5 + col * 24, 388.5 - row * 24});
    const std::uint16_t t = s.movie.define(piece({{0, 0}, {1, 0}, {2, 0}, {1, 1}}, 0xB05CFF));
    const std::uint16_t l = s.movie.define(piece({{0, 0}, {0, 1}, {0, 2}, {1, 2}}, 0xFF6B4A));
    const std::uint16_t i = s.movie.define(piece({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 0x46E0D0));
    return s.run(80, [&](int f) {
        const double p = phase(f, 80);
        s.movie.place(40, t, {200, -40 + p * 360, 90.0 * (f / 20)});
        s.movie.place(41, l, {330, -80 + std::fmod(p * 2, 1.0) * 400, -90.0 * (f / 10)});
        s.movie.place(42, i, {270, 20 + std::fmod(p + 0.5, 1.0) * 250, f % 40 < 20 ? 0.0 : 90.0});
    });
}

// A grid of paired tiles; a highlight walks over them and matched pairs fade away and return.
std::string lianliankan() {
    Scene s(0x2E5E3E);
    const std::uint32_t colours[] = {0xFF5A5A, 0xFFD23F, 0x3FA9FF, 0x9C6BFF, 0x4ADE80, 0xFF8AD8};
    std::vector<std::uint16_t> tiles;
    for (auto c : colours) {
        Shape tile = Shape::roundRect(58, 58, 8, rgb(0xF4EBD0));
        tile.outline(2, rgb(0x8A6D3B));
        tiles.push_back(s.movie.define(tile));
        tiles.push_back(
            s.movie.define(Shape::polygon(3 + static_cast<int>(tiles.size() / 2) % 4, 20, rgb(c))));
    }
    const std::uint16_t cursor =
        s.movie.define(Shape::roundRect(66, 66, 10, rgb(0xFFFFFF)).noFill().outline(4, rgb(0xFFEE55)));
    return s.run(96, [&](int f) {
        std::uint16_t depth = 10;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 6; ++col) {
                const int kind = (row * 6 + col * 5) % 6;
                const double gone = std::fmod(phase(f, 96) * 6 - kind + 6, 6.0);
                const double alpha = gone < 1 ? 1 - std::sin(gone * kPi) * 0.9 : 1;
                const Placement at{100 + col * 70.0, 95 + row * 70.0, 0, 1, 1, alpha};
                s.movie.place(depth++, tiles[kind * 2], at);
                s.movie.place(depth++, tiles[kind * 2 + 1], {at.x, at.y, f * 3.0, 1, 1, alpha});
            }
        const int spot = (f / 8) % 24;
        s.movie.place(200, cursor, {100 + (spot % 6) * 70.0, 95 + (spot / 6) * 70.0});
    });
}

// A chain of coloured balls rolling round a track towards the hole, the frog turning to aim.
std::string zuma() {
    Scene s(0xC8B27A);
    s.still(Shape::circle(150, rgb(0xB09a60)).noFill().outline(34, rgb(0x8C7440)), {275, 200});
    s.still(Shape::circle(26, rgb(0x1E1A10)), {275 + 150, 200});
    const std::uint32_t colours[] = {0xE53935, 0x1E88E5, 0xFDD835, 0x43A047};
    std::vector<std::uint16_t> balls;
    for (auto c : colours) {
        Shape ball = Shape::circle(15, rgb(c));
        ball.outline(2, rgb(0x000000, 90));
        balls.push_back(s.movie.define(ball));
    }
    Shape frog = Shape::polygon(5, 44, rgb(0x2E9D4E), 30);
    frog.outline(3, rgb(0x145A2A));
    const std::uint16_t frogId = s.movie.define(frog);
    const std::uint16_t shot = s.movie.define(Shape::circle(12, rgb(0xFDD835)));
    return s.run(72, [&](int f) {
        for (int b = 0; b < 14; ++b) {
            const double angle = 2 * kPi * (phase(f, 72) * 0.25 + b * 0.055);
            s.movie.place(static_cast<std::uint16_t>(10 + b), balls[b % 4],
                          {275 + 150 * std::cos(angle), 200 + 150 * std::sin(angle), f * 8.0});
        }
        const double aim = -60 + 120 * std::sin(2 * kPi * phase(f, 72));
        s.movie.place(30, frogId, {275, 200, aim});
        const double flight = std::fmod(phase(f, 72) * 3, 1.0) * 130;
        const double rad = aim * kPi / 180 - kPi / 2;
        s.movie.place(31, shot, {275 + flight * std::cos(rad), 200 + flight * std::sin(rad)});
    });
}

// Bubbles of several sizes rising and wobbling; they fade as they reach the top.
std::string bubbles() {
    Scene s(0x0B3D91);
    const std::uint32_t colours[] = {0x7FDBFF, 0xFF85C0, 0xB8F36B, 0xFFDC5C};
    std::vector<std::uint16_t> ids;
    for (auto c : colours) {
        Shape bubble = Shape::circle(20, rgb(c, 150));
        bubble.outline(3, rgb(0xFFFFFF, 200));
        ids.push_back(s.movie.define(bubble));
    }
    return s.run(90, [&](int f) {
        for (int b = 0; b < 16; ++b) {
            const double rise = std::fmod(phase(f, 90) + b * 0.137, 1.0);
            const double size = 0.6 + (b % 5) * 0.3;
            s.movie.place(static_cast<std::uint16_t>(10 + b), ids[b % 4],
                          {40 + b * 31 + 18 * std::sin(rise * 4 * kPi + b), 430 - rise * 470, 0, size, size,
                           1 - rise * 0.8});
        }
    });
}

// A hook swinging from the miner's winch over nuggets and a diamond.
std::string goldminer() {
    Scene s(0x7A4E2D);
    s.still(Shape::rect(550, 110, rgb(0x8FD3FF)), {275, 55});
    s.still(Shape::roundRect(70, 50, 10, rgb(0x5A3A1E)), {275, 85});
    for (int n = 0; n < 6; ++n) {
        Shape nugget = Shape::polygon(6 + n % 3, 18 + n * 4, rgb(0xFFC928));
        nugget.outline(2, rgb(0xC48A00));
        s.still(nugget, {60 + n * 85.0, 250 + (n % 3) * 45.0, n * 17.0});
    }
    s.still(Shape::polygon(4, 16, rgb(0xA8F0FF), 9), {380, 330});
    const std::uint16_t ropeId = s.movie.define(
        Shape(rgb(0x222222)).moveTo(-1.5, 0).lineTo(1.5, 0).lineTo(1.5, 150).lineTo(-1.5, 150));
    Shape hook(rgb(0x555555));
    hook.moveTo(-14, 150).lineTo(14, 150).lineTo(18, 170).lineTo(10, 172).lineTo(8, 158).lineTo(-8, 158);
    hook.lineTo(-10, 172).lineTo(-18, 170);
    const std::uint16_t hookId = s.movie.define(hook);
    return s.run(60, [&](int f) {
        const double swing = 55 * std::sin(2 * kPi * phase(f, 60));
        const double reach = 1 + 0.5 * std::max(0.0, std::sin(4 * kPi * phase(f, 60)));
        s.movie.place(40, ropeId, {275, 100, swing, 1, reach});
        s.movie.place(41, hookId, {275, 100, swing, 1, reach});
    });
}

// The fire boy and the ice girl running and jumping in turn between the temple's ledges.
std::string fireice() {
    Scene s(0x3B3024);
    for (int row = 0; row < 3; ++row)
        s.still(Shape::rect(row == 1 ? 320 : 550, 16, rgb(0x8C7A5B)),
                {row == 1 ? 300.0 : 275.0, 130 + row * 120.0});
    s.still(Shape::rect(80, 8, rgb(0xFF5722)), {120, 248});
    s.still(Shape::rect(80, 8, rgb(0x29B6F6)), {440, 368});
    const auto figure = [&](std::uint32_t body, std::uint32_t head) {
        Shape shape = Shape::roundRect(26, 34, 8, rgb(body));
        std::uint16_t ids[2] = {s.movie.define(shape), s.movie.define(Shape::polygon(3, 18, rgb(head)))};
        return std::pair(ids[0], ids[1]);
    };
    const auto fire = figure(0xE53935, 0xFF9800), ice = figure(0x1E88E5, 0x80DEEA);
    return s.run(96, [&](int f) {
        const double p = phase(f, 96);
        const double fx = 40 + 470 * (0.5 - 0.5 * std::cos(2 * kPi * p));
        const double hop = std::abs(std::sin(6 * kPi * p)) * 30;
        s.movie.place(40, fire.first, {fx, 345 - hop});
        s.movie.place(41, fire.second, {fx, 318 - hop, f * 10.0});
        const double ix = 510 - 470 * (0.5 - 0.5 * std::cos(2 * kPi * p));
        const double jump = std::abs(std::sin(4 * kPi * p)) * 45;
        s.movie.place(42, ice.first, {ix, 105 - jump});
        s.movie.place(43, ice.second, {ix, 78 - jump, -f * 10.0});
    });
}

// A bird flung from the slingshot in an arc, tumbling, and bouncing off the tower it hits.
std::string birds() {
    Scene s(0x9ED8F5);
    s.still(Shape::rect(550, 60, rgb(0x6AB04C)), {275, 370});
    Shape sling(rgb(0x6D4C2F));
    sling.moveTo(-6, 0).lineTo(6, 0).lineTo(6, -40).lineTo(20, -70).lineTo(12, -74).lineTo(0, -50).lineTo(
        -12, -74);
    sling.lineTo(-20, -70).lineTo(-6, -40);
    s.still(sling, {70, 340});
    std::vector<std::uint16_t> tower;
    for (int b = 0; b < 4; ++b)
        tower.push_back(s.movie.define(Shape::rect(b % 2 ? 90 : 22, b % 2 ? 18 : 70, rgb(0xC98B4B))));
    const std::uint16_t birdId = s.movie.define(Shape::circle(18, rgb(0xE53935)));
    const std::uint16_t beak =
        s.movie.define(Shape(rgb(0xFFA000)).moveTo(12, -6).lineTo(28, 1).lineTo(12, 8));
    const std::uint16_t pig = s.movie.define(Shape::circle(16, rgb(0x7CC242)));
    return s.run(72, [&](int f) {
        const double t = phase(f, 72);
        const double flight = std::min(t / 0.6, 1.0);
        const double hit = std::max(0.0, (t - 0.6) / 0.4);
        const double bx = 70 + 360 * flight + 40 * hit,
                     by = 270 - 260 * flight * (1 - flight) * 4 + 240 * hit * hit * 0.4;
        s.movie.place(40, birdId, {bx, std::min(by, 322.0), f * 12.0});
        s.movie.place(41, beak, {bx, std::min(by, 322.0), f * 12.0});
        const double wobble = hit > 0 ? 8 * std::sin(hit * 6 * kPi) * (1 - hit) : 0;
        s.movie.place(10, tower[0], {420, 305, wobble});
        s.movie.place(11, tower[1], {445, 261, wobble});
        s.movie.place(12, tower[2], {470, 305, -wobble});
        s.movie.place(13, tower[3], {445, 243 - 10 * hit, wobble * 2});
        s.movie.place(14, pig, {445, 323, 0, 1 + 0.1 * std::sin(f), 1});
    });
}

// Stones laid one by one on a go board until five in a row shine.
std::string gobang() {
    Scene s(0x4A3B2A);
    s.still(Shape::roundRect(380, 380, 12, rgb(0xE3B96B)), {275, 200});
    for (int line = 0; line < 13; ++line) {
        s.still(Shape::rect(336, 1.5, rgb(0x5B4320)), {275, 32 + line * 28.0});
        s.still(Shape::rect(1.5, 336, rgb(0x5B4320)), {107 + line * 28.0, 200});
    }
    const std::uint16_t black = s.movie.define(Shape::circle(12, rgb(0x111111)));
    const std::uint16_t white = s.movie.define(Shape::circle(12, rgb(0xF5F5F5)).outline(1, rgb(0x999999)));
    const int moves[][2] = {{6, 6}, {7, 6}, {6, 7}, {7, 7}, {6, 5}, {5, 4},
                            {6, 8}, {6, 4}, {6, 9}, {8, 8}, {7, 8}, {4, 3}};
    return s.run(96, [&](int f) {
        const int shown = std::min(12, f / 7 + 1);
        for (int m = 0; m < shown; ++m) {
            const double fresh = std::min(1.0, (f - m * 7) / 6.0);
            const bool winning = m % 2 == 0 && f > 84 && moves[m][0] == 6;
            s.movie.place(static_cast<std::uint16_t>(100 + m), m % 2 ? white : black,
                          {107 + moves[m][0] * 28.0, 32 + moves[m][1] * 28.0, 0, 1.4 - 0.4 * fresh,
                           1.4 - 0.4 * fresh, winning ? 0.5 + 0.5 * std::cos(f) : fresh});
        }
    });
}

// Chess pieces sliding across the river on a Chinese chess board.
std::string xiangqi() {
    Scene s(0x5D4037);
    s.still(Shape::rect(400, 360, rgb(0xF0C987)), {275, 200});
    for (int row = 0; row < 10; ++row)
        s.still(Shape::rect(320, 2, rgb(0x6D3B1A)), {275, 38 + row * 36.0});
    for (int col = 0; col < 9; ++col) {
        s.still(Shape::rect(2, 144, rgb(0x6D3B1A)), {115 + col * 40.0, 110});
        s.still(Shape::rect(2, 144, rgb(0x6D3B1A)), {115 + col * 40.0, 290});
    }
    const auto piece = [&](std::uint32_t colour) {
        Shape p = Shape::circle(16, rgb(0xFFF3D6));
        p.outline(3, rgb(colour));
        return std::pair(s.movie.define(p), s.movie.define(Shape::polygon(4, 7, rgb(colour), 3)));
    };
    const auto red = piece(0xC62828), black = piece(0x212121);
    return s.run(96, [&](int f) {
        const double p = phase(f, 96);
        const double ease = 0.5 - 0.5 * std::cos(2 * kPi * p);
        const struct {
            double x0, y0, x1, y1;
            bool red;
        } moves[] = {{1, 9, 2, 7, true},  {7, 0, 6, 2, false}, {4, 6, 4, 4, true},
                     {1, 2, 4, 2, false}, {0, 9, 0, 6, true},  {8, 0, 8, 3, false}};
        std::uint16_t depth = 50;
        for (int m = 0; m < 6; ++m) {
            const auto& mv = moves[m];
            const double k = std::clamp(ease * 6 - m * 0.5, 0.0, 1.0);
            const Placement at{115 + (mv.x0 + (mv.x1 - mv.x0) * k) * 40,
                               38 + (mv.y0 + (mv.y1 - mv.y0) * k) * 36};
            const auto& ids = mv.red ? red : black;
            s.movie.place(depth++, ids.first, at);
            s.movie.place(depth++, ids.second, {at.x, at.y, f * 4.0});
        }
    });
}

// A sudoku grid whose cells light up in a diagonal wave.
std::string sudoku() {
    Scene s(0xEDE7F6);
    s.still(Shape::rect(330, 330, rgb(0xFFFFFF)).outline(4, rgb(0x311B92)), {275, 200});
    const std::uint16_t cell = s.movie.define(Shape::rect(34, 34, rgb(0x7E57C2)));
    const std::uint16_t dot = s.movie.define(Shape::circle(7, rgb(0xFFD54F)));
    for (int i = 1; i < 9; ++i) {
        const double w = i % 3 ? 1 : 3;
        s.still(Shape::rect(w, 330, rgb(0x311B92)), {110 + i * 36.67, 200});
        s.still(Shape::rect(330, w, rgb(0x311B92)), {275, 35 + i * 36.67});
    }
    return s.run(72, [&](int f) {
        std::uint16_t depth = 100;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c) {
                const double wave = std::sin(2 * kPi * (phase(f, 72) - (r + c) / 16.0));
                const double x = 128.3 + c * 36.67, y = 53.3 + r * 36.67;
                s.movie.place(depth++, cell, {x, y, 0, 1, 1, std::max(0.0, wave) * 0.8});
                if ((r * 9 + c) % 4 == 0)
                    s.movie.place(depth++, dot, {x, y, 0, 1 + 0.4 * wave, 1 + 0.4 * wave});
            }
    });
}

// Fruits tossed up in arcs, spinning; a blade streak slices across now and then.
std::string fruits() {
    Scene s(0x3E2723);
    const std::uint32_t colours[] = {0xE53935, 0xFFB300, 0x7CB342, 0xFB8C00, 0x8E24AA};
    std::vector<std::uint16_t> ids;
    for (auto c : colours) {
        Shape fruit = Shape::circle(24, rgb(c));
        fruit.moveTo(-3, -26).lineTo(3, -26).lineTo(7, -38).lineTo(-1, -36); // the stalk, clear of the fruit
        ids.push_back(s.movie.define(fruit));
    }
    const std::uint16_t blade =
        s.movie.define(Shape(rgb(0xFFFFFF)).moveTo(-160, 0).lineTo(0, -4).lineTo(160, 0).lineTo(0, 4));
    return s.run(72, [&](int f) {
        for (int k = 0; k < 5; ++k) {
            const double t = std::fmod(phase(f, 72) + k * 0.2, 1.0);
            const double x = 60 + k * 100 + (k % 2 ? -1 : 1) * 60 * t;
            const double y = 440 - 1400 * t * (1 - t);
            s.movie.place(static_cast<std::uint16_t>(10 + k), ids[k], {x, y, (k % 2 ? -1 : 1) * f * 9.0});
        }
        const double slash = std::fmod(phase(f, 72) * 3, 1.0);
        s.movie.place(30, blade, {275, 180, -25 + 50 * slash, 1, 1, slash < 0.3 ? 1 - slash / 0.3 : 0});
    });
}

// A sunflower nodding and a pea shooter firing peas across the lawn.
std::string plants() {
    Scene s(0x4CAF50);
    for (int row = 0; row < 4; ++row)
        s.still(Shape::rect(550, 50, rgb(row % 2 ? 0x66BB6A : 0x81C784)), {275, 125 + row * 80.0});
    const std::uint16_t petals = s.movie.define(Shape::polygon(12, 46, rgb(0xFFEB3B), 26));
    const std::uint16_t face = s.movie.define(Shape::circle(22, rgb(0x795548)));
    const std::uint16_t shooter = s.movie.define(Shape::circle(22, rgb(0x2E7D32)));
    const std::uint16_t barrel = s.movie.define(Shape::rect(30, 18, rgb(0x388E3C)));
    const std::uint16_t pea = s.movie.define(Shape::circle(9, rgb(0x9CCC65)).outline(2, rgb(0x33691E)));
    const std::uint16_t zombie = s.movie.define(Shape::roundRect(36, 80, 10, rgb(0x78909C)));
    return s.run(60, [&](int f) {
        const double nod = 10 * std::sin(2 * kPi * phase(f, 60));
        s.movie.place(10, petals, {80, 120, f * 6.0});
        s.movie.place(11, face, {80 + nod * 0.5, 120, nod});
        const double recoil = f % 20 < 3 ? 6 : 0;
        s.movie.place(12, barrel, {112 - recoil, 285});
        s.movie.place(13, shooter, {80 - recoil / 2, 285});
        for (int k = 0; k < 3; ++k)
            s.movie.place(static_cast<std::uint16_t>(20 + k), pea,
                          {130 + std::fmod(f * 7.0 + k * 140, 420), 280});
        s.movie.place(30, zombie, {500 - f * 0.6, 270, 5 * std::sin(f * 0.5)});
    });
}

// Moles popping up out of six holes in turn.
std::string moles() {
    Scene s(0x8BC34A);
    std::vector<std::pair<double, double>> holes;
    for (int k = 0; k < 6; ++k)
        holes.push_back({110 + (k % 3) * 165.0, 150 + (k / 3) * 150.0});
    const std::uint16_t mole = s.movie.define(Shape::roundRect(60, 70, 26, rgb(0x8D6E63)));
    const std::uint16_t nose = s.movie.define(Shape::polygon(3, 9, rgb(0x3E2723)));
    const std::uint16_t hole = s.movie.define(Shape::circle(45, rgb(0x3E2723)));
    const std::uint16_t dirt = s.movie.define(Shape::rect(120, 50, rgb(0x8BC34A)));
    const std::uint16_t hammer = s.movie.define(
        Shape::rect(60, 30, rgb(0xB71C1C)).moveTo(-4, 15).lineTo(4, 15).lineTo(4, 80).lineTo(-4, 80));
    return s.run(72, [&](int f) {
        std::uint16_t depth = 10;
        for (int k = 0; k < 6; ++k) {
            const auto [x, y] = holes[k];
            const double up = std::max(0.0, std::sin(2 * kPi * (phase(f, 72) * 2 - k / 6.0)));
            s.movie.place(depth++, hole, {x, y, 0, 1, 0.35});
            s.movie.place(depth++, mole, {x, y + 10 - up * 45});
            s.movie.place(depth++, nose, {x, y - 4 - up * 45, 180});
            s.movie.place(depth++, dirt, {x, y + 40});
        }
        const int target = (f / 12) % 6;
        s.movie.place(50, hammer,
                      {holes[target].first + 40, holes[target].second - 80, f % 12 < 6 ? -40.0 : 10.0});
    });
}

// A snake winding across the field towards a pulsing apple.
std::string snake() {
    Scene s(0x1B5E20, 20);
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 14; ++col)
            if ((row + col) % 2)
                s.still(Shape::rect(40, 40, rgb(0x2E7D32)), {20 + col * 40.0, 20 + row * 40.0});
    const std::uint16_t body = s.movie.define(Shape::circle(14, rgb(0xFFEB3B)).outline(2, rgb(0xF57F17)));
    const std::uint16_t head = s.movie.define(Shape::circle(17, rgb(0xFBC02D)));
    Shape eyePair(rgb(0x000000));
    eyePair.moveTo(6, -9).lineTo(11, -9).lineTo(11, -4).lineTo(6, -4);
    eyePair.moveTo(6, 4).lineTo(11, 4).lineTo(11, 9).lineTo(6, 9);
    const std::uint16_t eyes = s.movie.define(eyePair);
    const std::uint16_t apple = s.movie.define(Shape::circle(12, rgb(0xE53935)));
    return s.run(80, [&](int f) {
        const auto at = [&](double t) {
            return std::pair(275 + 200 * std::sin(2 * kPi * t), 200 + 120 * std::sin(4 * kPi * t));
        };
        for (int k = 12; k >= 1; --k) {
            const auto [x, y] = at(phase(f, 80) - k * 0.012);
            s.movie.place(static_cast<std::uint16_t>(10 + k), body, {x, y});
        }
        const auto [hx, hy] = at(phase(f, 80));
        const auto [nx, ny] = at(phase(f, 80) + 0.005);
        const double heading = std::atan2(ny - hy, nx - hx) * 180 / kPi;
        s.movie.place(10, head, {hx, hy, heading});
        s.movie.place(9, eyes, {hx, hy, heading});
        const double beat = 1 + 0.25 * std::sin(f * 0.6);
        s.movie.place(40, apple, {at(0.3).first, at(0.3).second, 0, beat, beat});
    });
}

// Letter tiles raining down; tiles that are "typed" burst and fade.
std::string typing() {
    Scene s(0x263238);
    s.still(Shape::roundRect(500, 70, 14, rgb(0x37474F)), {275, 360});
    for (int k = 0; k < 10; ++k)
        s.still(Shape::roundRect(38, 38, 6, rgb(0x546E7A)), {68 + k * 46.0, 360});
    const std::uint32_t colours[] = {0x4FC3F7, 0xFFB74D, 0xAED581, 0xF06292};
    std::vector<std::uint16_t> tiles;
    for (auto c : colours)
        tiles.push_back(s.movie.define(Shape::roundRect(36, 36, 6, rgb(c)).outline(2, rgb(0xFFFFFF))));
    const std::uint16_t mark = s.movie.define(Shape::rect(6, 20, rgb(0x263238)));
    return s.run(90, [&](int f) {
        std::uint16_t depth = 20;
        for (int k = 0; k < 8; ++k) {
            const double t = std::fmod(phase(f, 90) + k * 0.125, 1.0);
            const double burst = std::max(0.0, (t - 0.7) / 0.3);
            const Placement at{60 + k * 62.0, -20 + t * 280, burst * 90, 1 + burst, 1 + burst, 1 - burst};
            s.movie.place(depth++, tiles[k % 4], at);
            s.movie.place(depth++, mark, {at.x, at.y, (k % 3) * 45.0, 1, 1, at.alpha});
        }
        s.movie.place(40, tiles[(f / 15) % 4], {68 + (f / 9 % 10) * 46.0, 360, 0, 0.9, 0.9, 0.6});
    });
}

// Piano keys pressed in a little tune, with level bars dancing above.
std::string piano() {
    Scene s(0x1A1A2E);
    const std::uint16_t white = s.movie.define(Shape::rect(36, 150, rgb(0xFAFAFA)).outline(1, rgb(0x333333)));
    const std::uint16_t black = s.movie.define(Shape::rect(22, 95, rgb(0x111111)));
    const std::uint16_t bar = s.movie.define(Shape::rect(22, 100, rgb(0x00E5FF)));
    const std::uint16_t note = s.movie.define(Shape::circle(9, rgb(0xFF4081)));
    const std::uint16_t stem = s.movie.define(Shape::rect(3, 34, rgb(0xFF4081)));
    const int tune[] = {0, 2, 4, 0, 0, 2, 4, 0, 4, 5, 7, 7};
    return s.run(96, [&](int f) {
        const int pressed = tune[(f / 8) % 12];
        for (int k = 0; k < 14; ++k)
            s.movie.place(static_cast<std::uint16_t>(10 + k), white,
                          {41 + k * 38.0, 320.0 + (k == pressed ? 4 : 0), 0, 1, 1, k == pressed ? 0.7 : 1});
        for (int k = 0; k < 13; ++k)
            if (k % 7 != 2 && k % 7 != 6)
                s.movie.place(static_cast<std::uint16_t>(30 + k), black, {60 + k * 38.0, 292});
        for (int k = 0; k < 16; ++k) {
            const double level = 0.2 + 0.8 * std::abs(std::sin(f * 0.21 + k * 0.7) * std::cos(f * 0.07 + k));
            s.movie.place(static_cast<std::uint16_t>(50 + k), bar,
                          {40 + k * 31.0, 210 - level * 50, 0, 1, level});
        }
        for (int n = 0; n < 3; ++n) {
            const double t = std::fmod(phase(f, 96) * 2 + n / 3.0, 1.0);
            const Placement at{150 + n * 120 + 20 * std::sin(t * 6), 160 - t * 140, 0, 1, 1, 1 - t};
            s.movie.place(static_cast<std::uint16_t>(80 + n), note, at);
            s.movie.place(static_cast<std::uint16_t>(90 + n), stem,
                          {at.x + 7.5, at.y - 17, 0, 1, 1, at.alpha});
        }
    });
}

// A drum kit thumping to a beat, rings spreading from each hit.
std::string drums() {
    Scene s(0x120A24);
    const std::uint16_t drum = s.movie.define(Shape::circle(55, rgb(0xD32F2F)).outline(8, rgb(0xECEFF1)));
    const std::uint16_t cymbal = s.movie.define(Shape::circle(48, rgb(0xFFCA28)).outline(2, rgb(0xFFF59D)));
    const std::uint16_t ring = s.movie.define(Shape::circle(50, rgb(0)).noFill().outline(4, rgb(0x80D8FF)));
    const double xs[] = {140, 275, 410};
    return s.run(64, [&](int f) {
        for (int d = 0; d < 3; ++d) {
            const int beat = (f + d * 5) % 16;
            const double hit = beat < 4 ? 1 - beat / 4.0 : 0;
            s.movie.place(static_cast<std::uint16_t>(10 + d), drum,
                          {xs[d], 280, 0, 1 + 0.12 * hit, 0.55 + 0.07 * hit});
            const double spread = beat / 16.0;
            s.movie.place(static_cast<std::uint16_t>(20 + d), ring,
                          {xs[d], 280, 0, 0.8 + spread * 1.6, (0.8 + spread * 1.6) * 0.55, 1 - spread});
        }
        s.movie.place(30, cymbal, {110, 110, 20 * std::sin(f * 0.8), 1, 0.3});
        s.movie.place(31, cymbal, {440, 110, -20 * std::sin(f * 0.8 + 1), 1, 0.3});
    });
}

// A night sky for a lullaby: a moon with planets in orbit and twinkling stars.
std::string nursery() {
    Scene s(0x0D1B4C);
    const std::uint16_t star = s.movie.define(Shape::polygon(5, 12, rgb(0xFFF59D), 5));
    const std::uint16_t moon = s.movie.define(Shape::circle(40, rgb(0xFFF8E1)));
    const std::uint16_t planet = s.movie.define(Shape::circle(14, rgb(0x4FC3F7)));
    const std::uint16_t small = s.movie.define(Shape::circle(8, rgb(0xFF8A65)));
    const std::uint16_t orbit =
        s.movie.define(Shape::circle(100, rgb(0)).noFill().outline(1, rgb(0xFFFFFF, 70)));
    const std::uint16_t cloud = s.movie.define(Shape::roundRect(120, 36, 18, rgb(0xB0BEC5, 200)));
    return s.run(96, [&](int f) {
        const double p = phase(f, 96);
        for (int k = 0; k < 12; ++k)
            s.movie.place(static_cast<std::uint16_t>(10 + k), star,
                          {30.0 + (k * 97) % 500, 30.0 + (k * 53) % 340, f * 2.0 * (k % 2 ? 1 : -1), 1, 1,
                           0.5 + 0.5 * std::sin(f * 0.3 + k)});
        s.movie.place(30, orbit, {275, 200});
        s.movie.place(31, orbit, {275, 200, 0, 1.6, 1.6});
        s.movie.place(32, moon, {275, 200});
        s.movie.place(33, planet, {275 + 100 * std::cos(2 * kPi * p), 200 + 100 * std::sin(2 * kPi * p)});
        s.movie.place(34, small, {275 + 160 * std::cos(-4 * kPi * p), 200 + 160 * std::sin(-4 * kPi * p)});
        s.movie.place(40, cloud, {-60 + p * 670, 330});
    });
}

// A calculator whose keys light up as a sum is typed, with a clock hand sweeping in its corner.
std::string calculator() {
    Scene s(0xECEFF1);
    s.still(Shape::roundRect(240, 360, 20, rgb(0x37474F)), {200, 200});
    s.still(Shape::rect(200, 60, rgb(0xC5E1A5)), {200, 70});
    const std::uint16_t key = s.movie.define(Shape::roundRect(40, 40, 8, rgb(0x90A4AE)));
    const std::uint16_t digit = s.movie.define(Shape::rect(12, 30, rgb(0x33691E)));
    const std::uint16_t face = s.movie.define(Shape::circle(70, rgb(0xFFFFFF)).outline(6, rgb(0x455A64)));
    const std::uint16_t hand =
        s.movie.define(Shape(rgb(0xE53935)).moveTo(-3, 8).lineTo(-2, -60).lineTo(2, -60).lineTo(3, 8));
    const std::uint16_t pin = s.movie.define(Shape::circle(6, rgb(0x263238)));
    return s.run(72, [&](int f) {
        const int lit = (f / 6) % 16;
        for (int k = 0; k < 16; ++k)
            s.movie.place(static_cast<std::uint16_t>(10 + k), key,
                          {125 + (k % 4) * 50.0, 150 + (k / 4) * 55.0, 0, 1, 1, k == lit ? 0.35 : 1});
        const int typed = (f / 6) % 12 + 1;
        for (int d = 0; d < 12; ++d)
            s.movie.place(static_cast<std::uint16_t>(40 + d), digit,
                          {280 - d * 14.0, 70, 0, 0.8, 1, d < typed ? 1.0 : 0.0});
        s.movie.place(60, face, {430, 300});
        s.movie.place(61, hand, {430, 300, f * 5.0});
        s.movie.place(62, pin, {430, 300});
    });
}

// A camera: the lens aperture turning, the flash going off and photos sliding out.
std::string photobooth() {
    Scene s(0xFCE4EC);
    s.still(Shape::roundRect(260, 170, 24, rgb(0x424242)), {275, 170});
    s.still(Shape::circle(62, rgb(0x212121)).outline(6, rgb(0x9E9E9E)), {275, 175});
    const std::uint16_t blades = s.movie.define(Shape::polygon(6, 44, rgb(0x5C6BC0), 22));
    const std::uint16_t flash = s.movie.define(Shape::rect(550, 400, rgb(0xFFFFFF)));
    const std::uint16_t photo =
        s.movie.define(Shape::rect(110, 130, rgb(0xFFFFFF)).outline(2, rgb(0xBDBDBD)));
    const std::uint16_t picture = s.movie.define(Shape::polygon(7, 32, rgb(0xF48FB1), 18));
    return s.run(72, [&](int f) {
        const double p = phase(f, 72);
        s.movie.place(10, blades,
                      {275, 175, f * 5.0, 1 - 0.3 * std::sin(2 * kPi * p), 1 - 0.3 * std::sin(2 * kPi * p)});
        const double out = std::clamp((p - 0.3) / 0.5, 0.0, 1.0);
        s.movie.place(20, photo, {275 + out * 150, 290 + out * 30, out * 15});
        s.movie.place(21, picture, {275 + out * 150, 280 + out * 30, out * 15 + f * 3, 1, 1, out});
        s.movie.place(30, flash, {275, 200, 0, 1, 1, p < 0.3 ? std::max(0.0, 0.9 - p * 5) : 0});
    });
}

struct Entry {
    const char* name;
    std::string (*make)();
};

constexpr Entry kMovies[] = {
    {"blocks.swf", blocks},
    {"lianliankan.swf", lianliankan},
    {"zuma.swf", zuma},
    {"bubbles.swf", bubbles},
    {"goldminer.swf", goldminer},
    {"fireice.swf", fireice},
    {"birds.swf", birds},
    {"gobang.swf", gobang},
    {"xiangqi.swf", xiangqi},
    {"sudoku.swf", sudoku},
    {"fruits.swf", fruits},
    {"plants.swf", plants},
    {"moles.swf", moles},
    {"snake.swf", snake},
    {"typing.swf", typing},
    {"piano.swf", piano},
    {"drums.swf", drums},
    {"nursery.swf", nursery},
    {"calculator.swf", calculator},
    {"photobooth.swf", photobooth},
};

} // namespace

std::vector<std::string> movieNames() {
    std::vector<std::string> names;
    for (const auto& entry : kMovies)
        names.emplace_back(entry.name);
    return names;
}

std::optional<std::string> movieBytes(std::string_view name) {
    for (const auto& entry : kMovies)
        if (name == entry.name) return entry.make();
    return std::nullopt;
}

} // namespace swf
