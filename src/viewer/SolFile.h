#pragma once
// Reads a Flash save (.sol file, "local shared object"): the header with the save's name and its
// AMF version, then the saved values by name, AMF0 or AMF3 encoded, as Flash Player and Ruffle
// write them. A damaged or hostile file gives an error, never a crash: lengths are checked against
// the bytes left, nesting is limited, and so is the number of values that references may copy.

#include "viewer/AmfValue.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

class SolFile {
  public:
    // The save in bytes, or nothing with the reason in error when it cannot be read whole.
    static std::optional<SolFile> parse(std::string_view bytes, std::string* error = nullptr);
    static std::optional<SolFile> read(const std::filesystem::path& file, std::string* error = nullptr);

    const std::string& name() const { return name_; }
    int amfVersion() const { return amfVersion_; } // 0 or 3
    const std::vector<AmfValue::Member>& values() const { return values_; }
    // The value saved under name, or null.
    const AmfValue* value(std::string_view name) const;

  private:
    std::string name_;
    int amfVersion_ = 0;
    std::vector<AmfValue::Member> values_;
};

} // namespace viewer
