#include "support/Mutator.h"

#include <array>

namespace sw::test {

std::size_t Mutator::position(std::size_t size) {
    return size == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, size - 1)(random_);
}

std::string Mutator::mutate(const std::string& original) {
    static constexpr std::array kNumbers = {"-1",          "0",     "2147483647", "-2147483648",
                                            "99999999999", "1e308", "-1e-308",    "0x7fffffff",
                                            "1e",          ",,",    "#"};
    std::string text = original;
    const int edits = std::uniform_int_distribution<int>(1, 4)(random_);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = position(text.size());
        switch (std::uniform_int_distribution<int>(0, 6)(random_)) {
        case 0:
            text[at] = static_cast<char>(random_());
            break;
        case 1:
            text.insert(at, 1, static_cast<char>(random_()));
            break;
        case 2:
            text.erase(at, std::uniform_int_distribution<std::size_t>(1, 64)(random_));
            break;
        case 3: {
            const std::size_t length = std::uniform_int_distribution<std::size_t>(1, 64)(random_);
            text.insert(at, text.substr(position(text.size()), length));
            break;
        }
        case 4:
            text.resize(at);
            break;
        case 5:
            text.insert(at, std::string(" ") + kNumbers[position(kNumbers.size())] + " ");
            break;
        default:
            // Overwrite a run of bytes, as a damaged sector would.
            for (std::size_t i = at; i < text.size() && i < at + 16; ++i)
                text[i] = static_cast<char>(random_());
            break;
        }
    }
    return text;
}

} // namespace sw::test
