#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace sw::test {

// Makes damaged copies of a valid file for robustness tests: flipped, inserted, deleted and
// duplicated bytes, truncation, and numbers replaced by extreme ones. Deterministic for a seed.
class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : random_(seed) {}
    std::string mutate(const std::string& original);

private:
    std::size_t position(std::size_t size);
    std::mt19937 random_;
};

} // namespace sw::test
