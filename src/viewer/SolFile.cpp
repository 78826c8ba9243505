#include "viewer/SolFile.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace viewer {

namespace {

using Type = AmfValue::Type;

struct Fault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kMaxDepth = 64;
// References copy the values they name; a small file could otherwise make a huge tree. Games keep
// far fewer values.
constexpr std::size_t kMaxValues = 100'000;

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ == bytes_.size(); }
    std::size_t left() const { return bytes_.size() - pos_; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(unsignedBig(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(unsignedBig(4)); }
    double f64() { return std::bit_cast<double>(unsignedBig(8)); }
    std::string_view take(std::size_t n) {
        if (n > left()) throw Fault("the file ends inside a value");
        auto part = bytes_.substr(pos_, n);
        pos_ += n;
        return part;
    }
    // Each value read counts against kMaxValues, copies from references included.
    void count(std::size_t n = 1) {
        values_ += n;
        if (values_ > kMaxValues) throw Fault("too many values");
    }

  private:
    std::uint64_t unsignedBig(int n) {
        auto part = take(static_cast<std::size_t>(n));
        std::uint64_t v = 0;
        for (char c : part)
            v = v << 8 | static_cast<unsigned char>(c);
        return v;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t values_ = 0;
};

std::size_t sizeOf(const AmfValue& value) {
    std::size_t n = 1;
    for (const auto& [key, item] : value.members)
        n += sizeOf(item);
    for (const auto& item : value.items)
        n += sizeOf(item);
    return n;
}

class Depth {
  public:
    explicit Depth(int& depth) : depth_(depth) {
        if (++depth_ > kMaxDepth) throw Fault("values nested too deeply");
    }
    ~Depth() { --depth_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;

  private:
    int& depth_;
};

AmfValue scalar(Type type) {
    AmfValue v;
    v.type = type;
    return v;
}

class Amf3 {
  public:
    explicit Amf3(Reader& in) : in_(in) {}

    std::uint32_t u29() {
        std::uint32_t v = 0;
        for (int i = 0; i < 3; ++i) {
            std::uint8_t b = in_.u8();
            if (!(b & 0x80)) return v << 7 | b;
            v = v << 7 | (b & 0x7f);
        }
        return v << 8 | in_.u8();
    }

    std::string string() {
        std::uint32_t header = u29();
        if (!(header & 1)) return at(strings_, header >> 1, "string");
        std::string s(in_.take(header >> 1));
        if (!s.empty()) strings_.push_back(s);
        return s;
    }

    AmfValue value() {
        Depth depth(depth_);
        in_.count();
        std::uint8_t marker = in_.u8();
        switch (marker) {
        case 0x00:
            return scalar(Type::Undefined);
        case 0x01:
            return scalar(Type::Null);
        case 0x02:
        case 0x03: {
            AmfValue v = scalar(Type::Boolean);
            v.boolean = marker == 0x03;
            return v;
        }
        case 0x04: {
            AmfValue v = scalar(Type::Integer);
            std::uint32_t raw = u29();
            v.integer = static_cast<std::int32_t>(raw & 0x10000000 ? raw | 0xe0000000 : raw);
            return v;
        }
        case 0x05: {
            AmfValue v = scalar(Type::Number);
            v.number = in_.f64();
            return v;
        }
        case 0x06: {
            AmfValue v = scalar(Type::String);
            v.text = string();
            return v;
        }
        case 0x07:
        case 0x0b:
            return bytesLike(Type::Xml);
        case 0x0c:
            return bytesLike(Type::ByteArray);
        case 0x08:
            return date();
        case 0x09:
            return array();
        case 0x0a:
            return object();
        case 0x0d:
        case 0x0e:
        case 0x0f:
        case 0x10:
            return vector(marker);
        case 0x11:
            return dictionary();
        default:
            throw Fault("unknown AMF3 type " + std::to_string(marker));
        }
    }

  private:
    struct Traits {
        std::string className;
        bool dynamic = false;
        std::vector<std::string> sealed;
    };

    template <typename T> T at(const std::vector<T>& table, std::uint32_t index, const char* what) {
        if (index >= table.size()) throw Fault(std::string("a reference to a missing ") + what);
        return table[index];
    }

    // A reference to an object read before: a copy of it as it stands, counted before it is made.
    std::optional<AmfValue> reference(std::uint32_t header) {
        if (header & 1) return std::nullopt;
        const std::uint32_t index = header >> 1;
        if (index >= objects_.size()) throw Fault("a reference to a missing object");
        in_.count(sizeOf(objects_[index]));
        return objects_[index];
    }

    // Reserves the object's place in the table before its content, which may refer to it.
    std::size_t reserve(Type type) {
        objects_.push_back(scalar(type));
        return objects_.size() - 1;
    }
    AmfValue finish(std::size_t slot, AmfValue v) {
        objects_[slot] = v;
        return v;
    }

    AmfValue bytesLike(Type type) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return *v;
        AmfValue v = scalar(type);
        v.text = std::string(in_.take(header >> 1));
        objects_.push_back(v);
        return v;
    }

    AmfValue date() {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return *v;
        AmfValue v = scalar(Type::Date);
        v.number = in_.f64();
        objects_.push_back(v);
        return v;
    }

    AmfValue array() {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return *v;
        std::size_t slot = reserve(Type::Array);
        AmfValue v = scalar(Type::Array);
        for (std::string key = string(); !key.empty(); key = string())
            v.members.push_back({key, value()});
        std::uint32_t dense = header >> 1;
        if (dense > in_.left()) throw Fault("an array longer than the file");
        for (std::uint32_t i = 0; i < dense; ++i)
            v.items.push_back(value());
        return finish(slot, std::move(v));
    }

    Traits traits(std::uint32_t header) {
        if (!(header & 2)) return at(traits_, header >> 2, "class");
        if (header & 4) throw Fault("an externalizable object");
        Traits t;
        t.dynamic = header & 8;
        t.className = string();
        std::uint32_t sealed = header >> 4;
        if (sealed > in_.left()) throw Fault("a class with more members than the file holds");
        for (std::uint32_t i = 0; i < sealed; ++i)
            t.sealed.push_back(string());
        traits_.push_back(t);
        return t;
    }

    AmfValue object() {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return *v;
        std::size_t slot = reserve(Type::Object);
        Traits t = traits(header);
        AmfValue v = scalar(Type::Object);
        v.className = t.className;
        for (const std::string& name : t.sealed)
            v.members.push_back({name, value()});
        if (t.dynamic)
            for (std::string key = string(); !key.empty(); key = string())
                v.members.push_back({key, value()});
        return finish(slot, std::move(v));
    }

    AmfValue vector(std::uint8_t marker) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return *v;
        std::size_t slot = reserve(Type::Vector);
        std::uint32_t n = header >> 1;
        if (n > in_.left()) throw Fault("a vector longer than the file");
        in_.u8(); // fixed length or not
        AmfValue v = scalar(Type::Vector);
        if (marker == 0x10) v.className = string();
        for (std::uint32_t i = 0; i < n; ++i) {
            if (marker == 0x10) {
                v.items.push_back(value());
                continue;
            }
            in_.count();
            AmfValue item = scalar(marker == 0x0f ? Type::Number : Type::Integer);
            if (marker == 0x0f) {
                item.number = in_.f64();
            } else {
                std::uint32_t raw = in_.u32();
                if (marker == 0x0d) {
                    item.integer = static_cast<std::int32_t>(raw);
                } else {
                    item.type = Type::Number; // an unsigned int may not fit an int
                    item.number = raw;
                }
            }
            v.items.push_back(item);
        }
        return finish(slot, std::move(v));
    }

    AmfValue dictionary() {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return *v;
        std::size_t slot = reserve(Type::Dictionary);
        std::uint32_t n = header >> 1;
        if (n > in_.left()) throw Fault("a dictionary longer than the file");
        in_.u8(); // weak keys or not
        AmfValue v = scalar(Type::Dictionary);
        for (std::uint32_t i = 0; i < n; ++i) {
            v.items.push_back(value());
            v.items.push_back(value());
        }
        return finish(slot, std::move(v));
    }

    Reader& in_;
    int depth_ = 0;
    std::vector<std::string> strings_;
    std::vector<AmfValue> objects_;
    std::vector<Traits> traits_;
};

class Amf0 {
  public:
    explicit Amf0(Reader& in) : in_(in) {}

    std::string shortString() { return std::string(in_.take(in_.u16())); }

    AmfValue value() {
        Depth depth(depth_);
        in_.count();
        std::uint8_t marker = in_.u8();
        switch (marker) {
        case 0x00: {
            AmfValue v = scalar(Type::Number);
            v.number = in_.f64();
            return v;
        }
        case 0x01: {
            AmfValue v = scalar(Type::Boolean);
            v.boolean = in_.u8() != 0;
            return v;
        }
        case 0x02:
        case 0x0c: {
            AmfValue v = scalar(Type::String);
            v.text = std::string(in_.take(marker == 0x02 ? in_.u16() : in_.u32()));
            return v;
        }
        case 0x0f: {
            AmfValue v = scalar(Type::Xml);
            v.text = std::string(in_.take(in_.u32()));
            return v;
        }
        case 0x03:
            return members(scalar(Type::Object));
        case 0x10: {
            AmfValue v = scalar(Type::Object);
            v.className = shortString();
            return members(std::move(v));
        }
        case 0x08:
            in_.u32(); // the count, which the end marker makes redundant
            return members(scalar(Type::Array));
        case 0x0a:
            return strictArray();
        case 0x05:
            return scalar(Type::Null);
        case 0x06:
        case 0x0d:
            return scalar(Type::Undefined);
        case 0x07: {
            std::uint16_t index = in_.u16();
            if (index >= objects_.size()) throw Fault("a reference to a missing object");
            in_.count(sizeOf(objects_[index]));
            return objects_[index];
        }
        case 0x0b: {
            AmfValue v = scalar(Type::Date);
            v.number = in_.f64();
            in_.u16(); // time zone, unused by players
            return v;
        }
        case 0x11:
            return Amf3(in_).value();
        default:
            throw Fault("unknown AMF0 type " + std::to_string(marker));
        }
    }

  private:
    // Named members up to the end marker (an empty name and 0x09), for objects and ECMA arrays.
    AmfValue members(AmfValue v) {
        std::size_t slot = objects_.size();
        objects_.push_back(v);
        for (;;) {
            std::string key = shortString();
            if (key.empty() && in_.left() && in_.take(1)[0] == 0x09) break;
            if (key.empty()) throw Fault("an object without its end marker");
            v.members.push_back({key, value()});
        }
        objects_[slot] = v;
        return v;
    }

    AmfValue strictArray() {
        std::size_t slot = objects_.size();
        objects_.push_back(scalar(Type::Array));
        std::uint32_t n = in_.u32();
        if (n > in_.left()) throw Fault("an array longer than the file");
        AmfValue v = scalar(Type::Array);
        for (std::uint32_t i = 0; i < n; ++i)
            v.items.push_back(value());
        objects_[slot] = v;
        return v;
    }

    Reader& in_;
    int depth_ = 0;
    std::vector<AmfValue> objects_;
};

} // namespace

std::optional<SolFile> SolFile::parse(std::string_view bytes, std::string* error) {
    try {
        Reader in(bytes);
        if (in.u16() != 0x00bf) throw Fault("not a Flash save");
        const std::uint32_t length = in.u32();
        if (length != in.left()) throw Fault("the file's length does not match its header");
        if (in.take(4) != "TCSO" || in.take(6) != std::string_view("\0\x04\0\0\0\0", 6))
            throw Fault("not a Flash save");
        SolFile file;
        file.name_ = std::string(in.take(in.u16()));
        in.take(3);
        file.amfVersion_ = in.u8();
        if (file.amfVersion_ == 0) {
            Amf0 amf(in);
            while (!in.atEnd()) {
                std::string key = amf.shortString();
                AmfValue v = amf.value();
                in.u8(); // padding after each value
                file.values_.push_back({std::move(key), std::move(v)});
            }
        } else if (file.amfVersion_ == 3) {
            Amf3 amf(in);
            while (!in.atEnd()) {
                std::string key = amf.string();
                AmfValue v = amf.value();
                in.u8();
                file.values_.push_back({std::move(key), std::move(v)});
            }
        } else {
            throw Fault("unknown AMF version " + std::to_string(file.amfVersion_));
        }
        return file;
    } catch (const Fault& fault) {
        if (error) *error = fault.what();
        return std::nullopt;
    }
}

std::optional<SolFile> SolFile::read(const std::filesystem::path& file, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open " + file.string();
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parse(bytes, error);
}

const AmfValue* SolFile::value(std::string_view name) const {
    for (const auto& [key, v] : values_)
        if (key == name) return &v;
    return nullptr;
}

} // namespace viewer
