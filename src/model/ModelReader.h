#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

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
//
// The reader works on a whole text in memory, or streams from an input stream through a buffer
// of its own, so that a large model is never held twice in memory while it is read.
class ModelReader {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 18;

    explicit ModelReader(std::string_view text)
        : pos_(text.data()), end_(text.data() + text.size()) {}
    explicit ModelReader(std::istream& in, std::size_t bufferSize = kDefaultBufferSize);

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
    void fill();
    void refill();
    void skipWhite();
    void skipWhiteAfterComma();
    bool skipWord();
    std::string_view takeWord();
    bool close() {
        closed_ = true;
        return false;
    }

    std::istream* in_ = nullptr;
    std::vector<char> buffer_;
    std::string longWord_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    bool exhausted_ = true; // nothing more to read into the buffer
    bool closed_ = false;
};

} // namespace sw
