#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sw {

class Model;

// Reads the 3DO text format. The reader is keyword-driven: it searches for each expected
// keyword by discarding words until it meets it, then reads a fixed sequence of values, so
// entry labels, comments and unknown words between the expected ones do not matter.
//
// The token operations keep the lexical rules of C++ stream extraction that the format's
// files were written against: words end at white space, integers take their base from their
// prefix (0x hexadecimal, a leading 0 octal) and stop at a comma, "#" at the start of a token
// begins a comment to the end of the line, and one comma before a token is skipped.
class ModelReader {
public:
    explicit ModelReader(std::string_view text)
        : pos_(text.data()), end_(text.data() + text.size()) {}

    // Fills the file layer of `model`; false when the text is not a model this program reads.
    bool load(Model& model);

    // Token operations; each returns false once the end of the data is reached (or a value
    // could not be extracted), after which every further operation returns false too.
    bool skipBlanks();
    bool seekWord(std::string_view keyword);
    bool readWord(std::string& destination, std::size_t maxLength);
    bool readInt(int& destination);
    bool readDouble(double& destination);

private:
    std::string_view takeWord();
    bool close() {
        closed_ = true;
        return false;
    }

    const char* pos_;
    const char* end_;
    bool closed_ = false;
};

} // namespace sw
