#include "viewer/SolFile.h"

#include "viewer/SolBytes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

using viewer::AmfValue;
using viewer::SolFile;

namespace {

using Type = AmfValue::Type;

// Ruffle's bytes for SharedObject.getLocal("plays") after data.count = 3; data.name = "hello";
// data.list = [1, 2.5, "x", true, null]; data.obj = {a: 1, b: "two"}; data.again = "hello"; flush().
std::string playsSave() {
    std::string body;
    body += amf3Text("count") + "\x04\x03" + '\0';
    body += amf3Text("name") + "\x06" + amf3Text("hello") + '\0';
    body += amf3Text("list") + "\x09\x0b\x01" + "\x04\x01" + "\x05\x40\x04" + std::string(6, '\0') + "\x06" +
            amf3Text("x") + "\x03" + "\x01" + '\0';
    body += amf3Text("obj") + "\x0a\x0b\x01" + amf3Text("a") + "\x04\x01" + amf3Text("b") + "\x06" +
            amf3Text("two") + "\x01" + '\0';
    body += amf3Text("again") + "\x06" + "\x04" /* the third string read: "hello" */ + '\0';
    return sol("plays", 3, body);
}

} // namespace

TEST(SolFileTest, ReadsAnAmf3SaveWithTheValuesGamesKeep) {
    std::string error;
    auto file = SolFile::parse(playsSave(), &error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->name(), "plays");
    EXPECT_EQ(file->amfVersion(), 3);
    ASSERT_EQ(file->values().size(), 5u);
    EXPECT_EQ(file->value("count")->type, Type::Integer);
    EXPECT_EQ(file->value("count")->integer, 3);
    EXPECT_EQ(file->value("name")->text, "hello");
    EXPECT_EQ(file->value("again")->text, "hello"); // a string reference
    EXPECT_EQ(file->value("list")->toText(), R"([1, 2.5, "x", true, null])");
    EXPECT_EQ(file->value("obj")->toText(), R"({"a": 1, "b": "two"})");
    EXPECT_EQ(file->value("obj")->member("b")->text, "two");
    EXPECT_EQ(file->value("missing"), nullptr);
}

TEST(SolFileTest, ReadsNegativeAndLargeIntegersAndObjectReferences) {
    std::string body;
    body += amf3Text("neg") + "\x04\xff\xff\xff\xff" + '\0'; // -1 in 29 bits
    body += amf3Text("big") + "\x04\x80\xc0\x80\x80" + '\0'; // 2097280 in four bytes
    body += amf3Text("first") + "\x0a\x0b\x01" + amf3Text("k") + "\x02\x01" + '\0';
    body += amf3Text("second") + "\x0a" + '\0' + '\0'; // the object read first
    body += amf3Text("when") + "\x08\x01" + "\x42\x70" + std::string(6, '\0') + '\0';
    std::string error;
    auto file = SolFile::parse(sol("refs", 3, body), &error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->value("neg")->integer, -1);
    EXPECT_EQ(file->value("big")->integer, 2097280);
    EXPECT_EQ(file->value("second")->toText(), R"({"k": false})");
    EXPECT_EQ(file->value("when")->type, Type::Date);
}

TEST(SolFileTest, ReadsAnAmf0Save) {
    std::string body;
    body += u16(5) + "score" + '\0' + "\x40\x59" + std::string(6, '\0') + '\0'; // 100.0
    body += u16(4) + "name" + "\x02" + u16(3) + "Ann" + '\0';
    body += u16(2) + "ok" + "\x01\x01" + '\0';
    body += u16(3) + "obj" + "\x03" + u16(1) + "x" + "\x05" + u16(0) + "\x09" + '\0';
    body += u16(3) + "arr" + "\x0a" + u32(2) + "\x06" + "\x07" + u16(0) + '\0';
    auto file = SolFile::parse(sol("old", 0, body));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->amfVersion(), 0);
    EXPECT_EQ(file->value("score")->number, 100.0);
    EXPECT_EQ(file->value("name")->text, "Ann");
    EXPECT_TRUE(file->value("ok")->boolean);
    EXPECT_EQ(file->value("obj")->toText(), R"({"x": null})");
    EXPECT_EQ(file->value("arr")->toText(), R"([undefined, {"x": null}])");
}

TEST(SolFileTest, RefusesDamagedFilesWithAReason) {
    const std::string good = playsSave();
    std::string error;
    // Cut anywhere: never a crash, always a reason.
    for (std::size_t n = 0; n < good.size(); ++n) {
        error.clear();
        EXPECT_FALSE(SolFile::parse(good.substr(0, n), &error)) << n;
        EXPECT_FALSE(error.empty()) << n;
    }
    std::string wrongMagic = good;
    wrongMagic[1] = 'x';
    EXPECT_FALSE(SolFile::parse(wrongMagic));
    EXPECT_FALSE(SolFile::parse(sol("x", 7, "")));                                     // unknown version
    EXPECT_FALSE(SolFile::parse(sol("x", 3, amf3Text("a") + "\x06\x04" + '\0')));      // missing string
    EXPECT_FALSE(SolFile::parse(sol("x", 3, amf3Text("a") + "\x0a\x02" + '\0')));      // missing object
    EXPECT_FALSE(SolFile::parse(sol("x", 3, amf3Text("a") + "\x09\xff\xff\xff\x7f"))); // huge array
    EXPECT_FALSE(SolFile::parse(sol("x", 3, amf3Text("a") + "\x42" + '\0')));          // unknown type
    EXPECT_FALSE(SolFile::read("/nonexistent/x.sol", &error));
}

TEST(SolFileTest, HostileNestingAndReferenceBombsAreRefused) {
    // Arrays inside arrays, deeper than any game saves.
    EXPECT_FALSE(SolFile::parse(nestedSave(100)));

    // Each array holds the one inside it twice, the second time by reference: 2^40 values from a
    // few hundred bytes.
    std::string chain = amf3Text("a");
    for (int i = 0; i < 40; ++i)
        chain += "\x09\x05\x01"; // arrays 0 to 39, two items each, opened
    chain += "\x09\x01\x01";     // array 40: empty
    for (int i = 39; i >= 0; --i)
        chain += "\x09" + std::string(1, static_cast<char>((i + 1) << 1)); // array i's second item

    std::string error;
    EXPECT_FALSE(SolFile::parse(sol("x", 3, chain + '\0'), &error));
    EXPECT_FALSE(error.empty());
}

namespace {

enum class Bomb { String, Object, ByteArray };

// An AMF3 save whose value "a" is an array of a 20,000-byte string, an object holding one, or a
// byte array of as many bytes, followed by copies references times: about 220 KB of file for
// 100,000 references, asking for gigabytes once built.
std::string referenceBomb(Bomb kind, unsigned references) {
    const std::string big(20'000, 'x');
    std::string body = amf3Text("a") + "\x09" + u29((references + 1) << 1 | 1) + "\x01";
    std::string reference;
    switch (kind) {
    case Bomb::String: // the strings so far: "a", then the big one
        body += "\x06" + u29(big.size() << 1 | 1) + big;
        reference = "\x06\x02";
        break;
    case Bomb::Object: // the objects so far: the array, then this one
        body += "\x0a\x0b\x01" + amf3Text("s") + "\x06" + u29(big.size() << 1 | 1) + big + "\x01";
        reference = "\x0a\x02";
        break;
    case Bomb::ByteArray:
        body += "\x0c" + u29(big.size() << 1 | 1) + big;
        reference = "\x0c\x02";
        break;
    }
    for (unsigned i = 0; i < references; ++i)
        body += reference;
    return sol("bomb", 3, body + '\0');
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(SolFileTest, ReferencesCountAtTheirFullSizeAndBombsAreRefusedBeforeTheyAreBuilt) {
    const long peakBefore = peakKilobytes();
    for (const Bomb kind : {Bomb::String, Bomb::Object, Bomb::ByteArray}) {
        const std::string bomb = referenceBomb(kind, 99'990);
        ASSERT_LT(bomb.size(), 250'000u);
        std::string error;
        EXPECT_FALSE(SolFile::parse(bomb, &error)) << static_cast<int>(kind);
        EXPECT_THAT(error, testing::HasSubstr("would take more than 16 MB"));
        EXPECT_FALSE(SolFile::check(bomb));

        // A few references are read, each a whole copy, and the weight counts every one.
        const auto few = SolFile::parse(referenceBomb(kind, 100), &error);
        ASSERT_TRUE(few) << error;
        const auto& items = few->value("a")->items;
        ASSERT_EQ(items.size(), 101u);
        const AmfValue& last = kind == Bomb::Object ? *items.back().member("s") : items.back();
        EXPECT_EQ(last.text.size(), 20'000u);
        EXPECT_GE(few->weight(), 101u * 20'000u);
        EXPECT_LT(few->weight(), 101u * 21'000u);
    }
    // Nothing near the gigabytes the bombs ask for was ever held.
    EXPECT_LT(peakKilobytes() - peakBefore, 100 * 1024);
}
