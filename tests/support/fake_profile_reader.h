#pragma once
// An INI reader over an in-memory table that records the reads it is asked for.

#include "app/description_file.h"

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace sc::test {

class FakeProfileReader : public ProfileReader {
  public:
    struct Read {
        std::string path, section, key;
        bool operator==(const Read&) const = default;
    };

    void set(std::string_view path, std::string_view section, std::string_view key,
             std::string_view value) {
        values_[{std::string(path), std::string(section), std::string(key)}] = std::string(value);
    }

    std::string readString(std::string_view path, std::string_view section,
                           std::string_view key) override {
        reads.push_back({std::string(path), std::string(section), std::string(key)});
        const auto found =
            values_.find({std::string(path), std::string(section), std::string(key)});
        return found == values_.end() ? std::string() : found->second;
    }

    std::vector<Read> reads;

  private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

} // namespace sc::test
