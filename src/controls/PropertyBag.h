#pragma once
// The saved properties of a control: named values written in order and read back with a default.
// A value equal to its default is not stored, so a saved control only carries what was changed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

class PropertyBag {
  public:
    // Pictures are stored as their bytes in a string.
    using Value = std::variant<bool, std::int32_t, double, std::string>;

    // The stored value of name (names match without regard to case), or defaultValue.
    Value ReadProperty(std::string_view name, const Value& defaultValue) const;

    // Stores value under name, replacing an earlier value of that name; with a default equal to
    // value, removes the name instead.
    void WriteProperty(std::string_view name, const Value& value,
                       const std::optional<Value>& defaultValue = {});

    // The stored names and values in the order they were first written.
    const std::vector<std::pair<std::string, Value>>& entries() const { return entries_; }

  private:
    std::vector<std::pair<std::string, Value>>::iterator findEntry(std::string_view name);
    std::vector<std::pair<std::string, Value>> entries_;
};
