#pragma once
// Reads a Flash save (.sol file, "local shared object"): the header with the save's name and its
// AMF version, then the saved values by name, AMF0 or AMF3 encoded, as Flash Player and Ruffle
// write them. A damaged or hostile file gives an error, never a crash: lengths are checked against
// the bytes left and nesting is limited.
//
// A value the file refers to a second time (a string, object, array or byte array read before) is
// a copy of the first, so a small file can ask for a huge tree. The reader keeps a byte budget of
// what the values take once built, copies from references included, and refuses a file that asks
// for more: more than MaxWeight, or more than WeightPerByte times its own size (small files may
// always take MinBudget). It measures a file before it builds anything, and check() only measures,
// so a hostile file costs no more than its own bytes.

#include "viewer/AmfValue.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

class SolFile {
  public:
    static constexpr std::size_t MaxWeight = 64 << 20;
    static constexpr std::size_t MinBudget = 16 << 20;
    static constexpr std::size_t WeightPerByte = 16;

    // The save in bytes, or nothing with the reason in error when it cannot be read whole.
    static std::optional<SolFile> parse(std::string_view bytes, std::string* error = nullptr);
    static std::optional<SolFile> read(const std::filesystem::path& file, std::string* error = nullptr);
    // Whether parse would read the save, without building its values.
    static bool check(std::string_view bytes, std::string* error = nullptr);
    // The most bytes the values of a file of fileSize bytes may take.
    static std::size_t budgetFor(std::size_t fileSize);

    const std::string& name() const { return name_; }
    int amfVersion() const { return amfVersion_; } // 0 or 3
    const std::vector<AmfValue::Member>& values() const { return values_; }
    // The value saved under name, or null.
    const AmfValue* value(std::string_view name) const;
    // The bytes the values take, as the budget counts them.
    std::size_t weight() const { return weight_; }

  private:
    friend class SolFileReader;

    std::string name_;
    int amfVersion_ = 0;
    std::vector<AmfValue::Member> values_;
    std::size_t weight_ = 0;
};

} // namespace viewer
