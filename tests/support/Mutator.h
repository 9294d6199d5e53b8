#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace sw::test {

// Makes damaged copies of a valid file for robustness tests, deterministic for a seed:
// flipped, inserted, deleted and duplicated bytes, truncation, runs overwritten, numbers of a
// text replaced by extreme ones, and telling binary integers put into a header.
class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : random_(seed) {}
    // One to four kinds of damage at once.
    std::string mutate(const std::string& original);
    // Only numbers of the text replaced, one to three: the structure stays, so that most of
    // these still read.
    std::string replaceNumbers(std::string text);

private:
    std::size_t position(std::size_t size);
    std::string replaceNumber(std::string text, std::size_t from);
    std::mt19937 random_;
};

} // namespace sw::test
