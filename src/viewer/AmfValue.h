#pragma once
// One value of a Flash save as the reader of .sol files gives it back: the AMF0 and AMF3 kinds that
// games keep (numbers, integers, strings, booleans, null, undefined, dates, arrays and objects),
// plus the rarer ones (XML, byte arrays, vectors, dictionaries) with their content as far as it is
// plain data. A value that the file refers to a second time is a copy of the first.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

struct AmfValue {
    struct Member;
    enum class Type {
        Undefined,
        Null,
        Boolean,
        Integer,
        Number,
        String,
        Date,
        Xml,
        ByteArray,
        Array,
        Object,
        Vector,
        Dictionary
    };

    Type type = Type::Undefined;
    bool boolean = false;
    std::int32_t integer = 0;
    double number = 0;     // a Number, or a Date's milliseconds since 1970
    std::string text;      // a String, XML text or the bytes of a ByteArray
    std::string className; // an Object's class name, empty for a plain object
    // An Object's members and an Array's named entries, in file order. A Dictionary's entries are
    // key and value pairs in items (key, value, key, value...).
    std::vector<Member> members;
    std::vector<AmfValue> items; // an Array's dense part, a Vector's or a Dictionary's entries

    // The member of an Object or named entry of an Array called name, or null.
    const AmfValue* member(std::string_view name) const;
    // The value as JSON-like text (objects and arrays in file order), for tools and test messages.
    std::string toText() const;
};

// A named member of an Object or a named entry of an Array.
struct AmfValue::Member {
    std::string name;
    AmfValue value;
};

} // namespace viewer
