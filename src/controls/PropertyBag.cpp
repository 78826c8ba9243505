#include "controls/PropertyBag.h"

#include "base/Text.h"

#include <algorithm>

std::vector<std::pair<std::string, PropertyBag::Value>>::iterator
PropertyBag::findEntry(std::string_view name) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const auto& entry) { return base::equalsNoCase(entry.first, name); });
}

PropertyBag::Value PropertyBag::ReadProperty(std::string_view name, const Value& defaultValue) const {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const auto& entry) { return base::equalsNoCase(entry.first, name); });
    return it == entries_.end() ? defaultValue : it->second;
}

void PropertyBag::WriteProperty(std::string_view name, const Value& value,
                                const std::optional<Value>& defaultValue) {
    auto it = findEntry(name);
    if (defaultValue && *defaultValue == value) {
        if (it != entries_.end()) entries_.erase(it);
        return;
    }
    if (it != entries_.end())
        it->second = value;
    else
        entries_.emplace_back(std::string(name), value);
}
