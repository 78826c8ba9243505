#include "viewer/SolFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unordered_set>

namespace viewer {

namespace {

using Type = AmfValue::Type;

struct Fault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kMaxDepth = 64;
// What a value and a named member take besides their text, as the budget counts them.
constexpr std::size_t kValueWeight = sizeof(AmfValue);
constexpr std::size_t kMemberWeight = sizeof(AmfValue::Member) - sizeof(AmfValue);

// A value as read: built when the reader builds, with what it weighs once built and how deeply it
// nests (1 for a value without items), references included.
struct Read {
    AmfValue value;
    std::size_t weight = kValueWeight;
    int height = 1;
};

// An object, array, date or byte array the file may refer to later, by the offset where it starts.
// The measuring pass tells the building one which are referred to, so only those are kept twice.
struct Entry {
    std::size_t offset = 0;
    std::size_t weight = kValueWeight;
    int height = 1;
    AmfValue value; // while the value is read, an empty one of its type
};

AmfValue scalar(Type type) {
    AmfValue v;
    v.type = type;
    return v;
}

class Reader {
  public:
    // Measures only when referred is not null (it learns which entries are referred to), builds
    // with the entries to keep otherwise.
    Reader(std::string_view bytes, std::size_t budget, std::unordered_set<std::size_t>* referred,
           const std::unordered_set<std::size_t>* kept)
        : bytes_(bytes), budget_(budget), referred_(referred), kept_(kept) {}

    bool building() const { return kept_ != nullptr; }
    bool atEnd() const { return pos_ == bytes_.size(); }
    std::size_t left() const { return bytes_.size() - pos_; }
    std::size_t offset() const { return pos_; }
    std::size_t spent() const { return spent_; }

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

    // Counts n bytes of values against the budget.
    void spend(std::size_t n) {
        spent_ += n;
        if (spent_ > budget_)
            throw Fault("its values would take more than " + std::to_string(budget_ >> 20) + " MB");
    }
    // A new value of type, counted.
    Read start(Type type) {
        spend(kValueWeight);
        return {scalar(type)};
    }
    // Gives a string, XML or byte array value its text, counted.
    void setText(Read& to, std::string_view text) {
        spend(text.size());
        to.weight += text.size();
        if (building()) to.value.text = text;
    }
    void addItem(Read& to, Read item) {
        grow(to, item);
        if (building()) to.value.items.push_back(std::move(item.value));
    }
    void addMember(Read& to, std::string_view name, Read item) {
        spend(kMemberWeight + name.size());
        to.weight += kMemberWeight + name.size();
        grow(to, item);
        if (building()) to.value.members.push_back({std::string(name), std::move(item.value)});
    }

    // A new entry for the value starting at start, empty until finish.
    Entry entry(std::size_t start, AmfValue empty) const {
        Entry e;
        e.offset = start;
        if (building()) e.value = std::move(empty);
        return e;
    }
    Read finish(Entry& entry, Read read) const {
        entry.weight = read.weight;
        entry.height = read.height;
        if (building() && kept_->contains(entry.offset)) entry.value = read.value;
        return read;
    }
    // A copy of an entry read before, counted before it is made.
    Read copy(const Entry& entry) {
        spend(entry.weight);
        if (referred_) referred_->insert(entry.offset);
        return {building() ? entry.value : AmfValue{}, entry.weight, entry.height};
    }

  private:
    static void grow(Read& to, const Read& item) {
        to.weight += item.weight;
        to.height = std::max(to.height, item.height + 1);
        if (to.height > kMaxDepth) throw Fault("values nested too deeply");
    }
    std::uint64_t unsignedBig(int n) {
        auto part = take(static_cast<std::size_t>(n));
        std::uint64_t v = 0;
        for (char c : part)
            v = v << 8 | static_cast<unsigned char>(c);
        return v;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t budget_;
    std::size_t spent_ = 0;
    std::unordered_set<std::size_t>* referred_;
    const std::unordered_set<std::size_t>* kept_;
};

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

    // A string of the file; a reference gives the one read before, which is counted where it is used.
    std::string_view string() {
        std::uint32_t header = u29();
        if (!(header & 1)) {
            if (header >> 1 >= strings_.size()) throw Fault("a reference to a missing string");
            return strings_[header >> 1];
        }
        std::string_view s = in_.take(header >> 1);
        if (!s.empty()) strings_.push_back(s);
        return s;
    }

    Read value() {
        Depth depth(depth_);
        const std::size_t start = in_.offset();
        std::uint8_t marker = in_.u8();
        switch (marker) {
        case 0x00:
            return in_.start(Type::Undefined);
        case 0x01:
            return in_.start(Type::Null);
        case 0x02:
        case 0x03: {
            Read v = in_.start(Type::Boolean);
            v.value.boolean = marker == 0x03;
            return v;
        }
        case 0x04: {
            Read v = in_.start(Type::Integer);
            std::uint32_t raw = u29();
            v.value.integer = static_cast<std::int32_t>(raw & 0x10000000 ? raw | 0xe0000000 : raw);
            return v;
        }
        case 0x05: {
            Read v = in_.start(Type::Number);
            v.value.number = in_.f64();
            return v;
        }
        case 0x06: {
            Read v = in_.start(Type::String);
            in_.setText(v, string());
            return v;
        }
        case 0x07:
        case 0x0b:
            return bytesLike(start, Type::Xml);
        case 0x0c:
            return bytesLike(start, Type::ByteArray);
        case 0x08:
            return date(start);
        case 0x09:
            return array(start);
        case 0x0a:
            return object(start);
        case 0x0d:
        case 0x0e:
        case 0x0f:
        case 0x10:
            return vector(start, marker);
        case 0x11:
            return dictionary(start);
        default:
            throw Fault("unknown AMF3 type " + std::to_string(marker));
        }
    }

  private:
    struct Traits {
        std::string_view className;
        bool dynamic = false;
        std::vector<std::string_view> sealed;
    };

    // A reference to an object read before: a copy of it as it stands.
    std::optional<Read> reference(std::uint32_t header) {
        if (header & 1) return std::nullopt;
        const std::uint32_t index = header >> 1;
        if (index >= objects_.size()) throw Fault("a reference to a missing object");
        return in_.copy(objects_[index]);
    }

    // Reserves the object's place in the table before its content, which may refer to it.
    std::size_t reserve(std::size_t start, Type type) {
        objects_.push_back(in_.entry(start, scalar(type)));
        return objects_.size() - 1;
    }
    Read finish(std::size_t slot, Read v) { return in_.finish(objects_[slot], std::move(v)); }

    Read bytesLike(std::size_t start, Type type) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return std::move(*v);
        const std::size_t slot = reserve(start, type);
        Read v = in_.start(type);
        in_.setText(v, in_.take(header >> 1));
        return finish(slot, std::move(v));
    }

    Read date(std::size_t start) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return std::move(*v);
        const std::size_t slot = reserve(start, Type::Date);
        Read v = in_.start(Type::Date);
        v.value.number = in_.f64();
        return finish(slot, std::move(v));
    }

    Read array(std::size_t start) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return std::move(*v);
        const std::size_t slot = reserve(start, Type::Array);
        Read v = in_.start(Type::Array);
        for (std::string_view key = string(); !key.empty(); key = string())
            in_.addMember(v, key, value());
        std::uint32_t dense = header >> 1;
        if (dense > in_.left()) throw Fault("an array longer than the file");
        for (std::uint32_t i = 0; i < dense; ++i)
            in_.addItem(v, value());
        return finish(slot, std::move(v));
    }

    std::size_t traits(std::uint32_t header) {
        if (!(header & 2)) {
            if (header >> 2 >= traits_.size()) throw Fault("a reference to a missing class");
            return header >> 2;
        }
        if (header & 4) throw Fault("an externalizable object");
        Traits t;
        t.dynamic = header & 8;
        t.className = string();
        std::uint32_t sealed = header >> 4;
        if (sealed > in_.left()) throw Fault("a class with more members than the file holds");
        for (std::uint32_t i = 0; i < sealed; ++i)
            t.sealed.push_back(string());
        traits_.push_back(std::move(t));
        return traits_.size() - 1;
    }

    Read object(std::size_t start) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return std::move(*v);
        const std::size_t slot = reserve(start, Type::Object);
        // By index: the members may add classes to the table.
        const std::size_t t = traits(header);
        Read v = in_.start(Type::Object);
        const std::string_view className = traits_[t].className;
        in_.spend(className.size());
        v.weight += className.size();
        if (in_.building()) v.value.className = className;
        for (std::size_t i = 0; i < traits_[t].sealed.size(); ++i)
            in_.addMember(v, traits_[t].sealed[i], value());
        if (traits_[t].dynamic)
            for (std::string_view key = string(); !key.empty(); key = string())
                in_.addMember(v, key, value());
        return finish(slot, std::move(v));
    }

    Read vector(std::size_t start, std::uint8_t marker) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return std::move(*v);
        const std::size_t slot = reserve(start, Type::Vector);
        std::uint32_t n = header >> 1;
        if (n > in_.left()) throw Fault("a vector longer than the file");
        in_.u8(); // fixed length or not
        Read v = in_.start(Type::Vector);
        if (marker == 0x10) {
            const std::string_view className = string();
            in_.spend(className.size());
            v.weight += className.size();
            if (in_.building()) v.value.className = className;
        }
        for (std::uint32_t i = 0; i < n; ++i) {
            if (marker == 0x10) {
                in_.addItem(v, value());
                continue;
            }
            Read item = in_.start(marker == 0x0f ? Type::Number : Type::Integer);
            if (marker == 0x0f) {
                item.value.number = in_.f64();
            } else {
                std::uint32_t raw = in_.u32();
                if (marker == 0x0d) {
                    item.value.integer = static_cast<std::int32_t>(raw);
                } else {
                    item.value.type = Type::Number; // an unsigned int may not fit an int
                    item.value.number = raw;
                }
            }
            in_.addItem(v, std::move(item));
        }
        return finish(slot, std::move(v));
    }

    Read dictionary(std::size_t start) {
        std::uint32_t header = u29();
        if (auto v = reference(header)) return std::move(*v);
        const std::size_t slot = reserve(start, Type::Dictionary);
        std::uint32_t n = header >> 1;
        if (n > in_.left()) throw Fault("a dictionary longer than the file");
        in_.u8(); // weak keys or not
        Read v = in_.start(Type::Dictionary);
        for (std::uint32_t i = 0; i < n; ++i) {
            in_.addItem(v, value());
            in_.addItem(v, value());
        }
        return finish(slot, std::move(v));
    }

    Reader& in_;
    int depth_ = 0;
    std::vector<std::string_view> strings_;
    std::vector<Entry> objects_;
    std::vector<Traits> traits_;
};

class Amf0 {
  public:
    explicit Amf0(Reader& in) : in_(in) {}

    std::string_view shortString() { return in_.take(in_.u16()); }

    Read value() {
        Depth depth(depth_);
        const std::size_t start = in_.offset();
        std::uint8_t marker = in_.u8();
        switch (marker) {
        case 0x00: {
            Read v = in_.start(Type::Number);
            v.value.number = in_.f64();
            return v;
        }
        case 0x01: {
            Read v = in_.start(Type::Boolean);
            v.value.boolean = in_.u8() != 0;
            return v;
        }
        case 0x02:
        case 0x0c: {
            Read v = in_.start(Type::String);
            in_.setText(v, in_.take(marker == 0x02 ? in_.u16() : in_.u32()));
            return v;
        }
        case 0x0f: {
            Read v = in_.start(Type::Xml);
            in_.setText(v, in_.take(in_.u32()));
            return v;
        }
        case 0x03:
            return members(start, scalar(Type::Object));
        case 0x10: {
            AmfValue empty = scalar(Type::Object);
            empty.className = shortString();
            return members(start, std::move(empty));
        }
        case 0x08:
            in_.u32(); // the count, which the end marker makes redundant
            return members(start, scalar(Type::Array));
        case 0x0a:
            return strictArray(start);
        case 0x05:
            return in_.start(Type::Null);
        case 0x06:
        case 0x0d:
            return in_.start(Type::Undefined);
        case 0x07: {
            std::uint16_t index = in_.u16();
            if (index >= objects_.size()) throw Fault("a reference to a missing object");
            return in_.copy(objects_[index]);
        }
        case 0x0b: {
            Read v = in_.start(Type::Date);
            v.value.number = in_.f64();
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
    Read members(std::size_t start, AmfValue empty) {
        const std::size_t slot = objects_.size();
        objects_.push_back(in_.entry(start, empty));
        Read v = in_.start(empty.type);
        in_.spend(empty.className.size());
        v.weight += empty.className.size();
        if (in_.building()) v.value.className = std::move(empty.className);
        for (;;) {
            std::string_view key = shortString();
            if (key.empty() && in_.left() && in_.take(1)[0] == 0x09) break;
            if (key.empty()) throw Fault("an object without its end marker");
            in_.addMember(v, key, value());
        }
        return in_.finish(objects_[slot], std::move(v));
    }

    Read strictArray(std::size_t start) {
        const std::size_t slot = objects_.size();
        objects_.push_back(in_.entry(start, scalar(Type::Array)));
        std::uint32_t n = in_.u32();
        if (n > in_.left()) throw Fault("an array longer than the file");
        Read v = in_.start(Type::Array);
        for (std::uint32_t i = 0; i < n; ++i)
            in_.addItem(v, value());
        return in_.finish(objects_[slot], std::move(v));
    }

    Reader& in_;
    int depth_ = 0;
    std::vector<Entry> objects_;
};

// Reads the header and the values, each value after its name and followed by a padding byte.
template <typename Amf, typename Key>
void readValues(Reader& in, Amf amf, Key key, std::vector<AmfValue::Member>& values) {
    while (!in.atEnd()) {
        const std::string_view name = (amf.*key)();
        Read v = amf.value();
        in.u8();
        in.spend(kMemberWeight + name.size());
        if (in.building()) values.push_back({std::string(name), std::move(v.value)});
    }
}

} // namespace

class SolFileReader {
  public:
    // Reads bytes into file; builds nothing when file is null.
    static void read(Reader& in, SolFile* file) {
        if (in.u16() != 0x00bf) throw Fault("not a Flash save");
        const std::uint32_t length = in.u32();
        if (length != in.left()) throw Fault("the file's length does not match its header");
        if (in.take(4) != "TCSO" || in.take(6) != std::string_view("\0\x04\0\0\0\0", 6))
            throw Fault("not a Flash save");
        const std::string_view name = in.take(in.u16());
        in.take(3);
        const int version = in.u8();
        std::vector<AmfValue::Member> ignored;
        auto& values = file ? file->values_ : ignored;
        if (version == 0)
            readValues(in, Amf0(in), &Amf0::shortString, values);
        else if (version == 3)
            readValues(in, Amf3(in), &Amf3::string, values);
        else
            throw Fault("unknown AMF version " + std::to_string(version));
        if (!file) return;
        file->name_ = name;
        file->amfVersion_ = version;
        file->weight_ = in.spent();
    }
};

std::size_t SolFile::budgetFor(std::size_t fileSize) {
    if (fileSize > MaxWeight / WeightPerByte) return MaxWeight;
    return std::clamp(fileSize * WeightPerByte, MinBudget, MaxWeight);
}

bool SolFile::check(std::string_view bytes, std::string* error) {
    std::unordered_set<std::size_t> referred;
    try {
        Reader in(bytes, budgetFor(bytes.size()), &referred, nullptr);
        SolFileReader::read(in, nullptr);
        return true;
    } catch (const Fault& fault) {
        if (error) *error = fault.what();
        return false;
    }
}

std::optional<SolFile> SolFile::parse(std::string_view bytes, std::string* error) {
    // Measured first, so a file over the budget is refused before anything is built; then built,
    // keeping a second copy only of the values referred to.
    std::unordered_set<std::size_t> referred;
    try {
        Reader measure(bytes, budgetFor(bytes.size()), &referred, nullptr);
        SolFileReader::read(measure, nullptr);
        Reader build(bytes, budgetFor(bytes.size()), nullptr, &referred);
        SolFile file;
        SolFileReader::read(build, &file);
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
