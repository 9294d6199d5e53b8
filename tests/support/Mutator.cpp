#include "support/Mutator.h"

#include "support/TextureFiles.h"

#include <algorithm>
#include <array>

namespace sw::test {

std::size_t Mutator::position(std::size_t size) {
    return size == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, size - 1)(random_);
}

std::string Mutator::replaceNumber(std::string text, std::size_t from) {
    static constexpr std::array kValues = {
        "-1",         "0",     "1",      "2",      "7",          "99",  "-2147483648",
        "2147483647", "1e308", "-1e308", "1e-300", "0x7fffffff", "513", "1.7e+300",
        "-0",         "3.5",   "1e",     ",,",     "#"};
    std::size_t start = text.find_first_of("0123456789", from);
    if (start == std::string::npos)
        return text;
    if (start > 0 && text[start - 1] == '-')
        --start;
    const std::size_t end = text.find_first_not_of("0123456789.e+-x", start + 1);
    return text.replace(start, end == std::string::npos ? std::string::npos : end - start,
                        kValues[position(kValues.size())]);
}

std::string Mutator::replaceNumbers(std::string text) {
    for (int edits = std::uniform_int_distribution<int>(1, 3)(random_); edits > 0; --edits)
        text = replaceNumber(std::move(text), position(text.size()));
    return text;
}

std::string Mutator::mutate(const std::string& original) {
    static constexpr std::array<std::int32_t, 11> kTellingInts = {
        0, 1, -1, 8, 16, 40, 255, 256, 16385, 0x7FFFFFFF, -0x7FFFFFFF - 1};
    std::string text = original;
    const int edits = std::uniform_int_distribution<int>(1, 4)(random_);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = position(text.size());
        switch (std::uniform_int_distribution<int>(0, 8)(random_)) {
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
            text = replaceNumber(std::move(text), at);
            break;
        case 6:
            text[at] = static_cast<char>(text[at] ^ (1 << position(8)));
            break;
        case 7:
            // Binary formats keep their counts, sizes and offsets in the first bytes.
            if (text.size() >= 4)
                text =
                    withI32(std::move(text), position(std::min<std::size_t>(text.size(), 160) - 3),
                            kTellingInts[position(kTellingInts.size())]);
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
