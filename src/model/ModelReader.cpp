#include "model/ModelReader.h"

#include "model/Model.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <new>

namespace sw {

namespace {

// The longest integer and real texts one extraction takes, as the format's original reader did.
constexpr int kMaxIntChars = 15;
constexpr int kMaxRealChars = 27;
// A comment is taken in pieces of at most this many characters; a longer comment line leaves
// its remainder in the input, where it is read as words.
constexpr int kMaxCommentChars = 255;
// Bytes kept ready ahead of every token, so that a number or a comma and what follows it are
// always in the buffer together. Longer runs (blanks, words, comments) refill as they go.
constexpr std::ptrdiff_t kLookahead = 64;
// Arrays are sized as they are read, never from a count alone, so that a huge count in a
// small file cannot claim memory; this caps what is reserved ahead.
constexpr int kMaxReserve = 1 << 16;

constexpr std::array<bool, 256> kBlanks = [] {
    std::array<bool, 256> blanks{};
    for (const unsigned char c : {' ', '\t', '\n', '\r', '\v', '\f'})
        blanks[c] = true;
    return blanks;
}();

bool isBlank(char c) {
    return kBlanks[static_cast<unsigned char>(c)];
}

bool isDigitOfBase(char c, int base) {
    if (base == 16)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (base == 8)
        return c >= '0' && c <= '7';
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

template <typename T> void reserveFor(std::vector<T>& array, int count) {
    array.reserve(static_cast<std::size_t>(std::min(count, kMaxReserve)));
}

} // namespace

ModelReader::ModelReader(std::istream& in, std::size_t bufferSize)
    : in_(&in), buffer_(std::max<std::size_t>(bufferSize, 2 * kLookahead)), pos_(buffer_.data()),
      end_(buffer_.data()), exhausted_(false) {
    fill();
}

// Makes at least kLookahead bytes available from pos_, unless the input ends first.
void ModelReader::fill() {
    if (end_ - pos_ < kLookahead && !exhausted_)
        refill();
}

void ModelReader::refill() {
    const auto kept = static_cast<std::size_t>(end_ - pos_);
    std::memmove(buffer_.data(), pos_, kept);
    in_->read(buffer_.data() + kept, static_cast<std::streamsize>(buffer_.size() - kept));
    const auto got = static_cast<std::size_t>(in_->gcount());
    pos_ = buffer_.data();
    end_ = pos_ + kept + got;
    if (!in_->good())
        exhausted_ = true;
    if (in_->bad())
        closed_ = true; // a read error: the model is not trusted whatever follows
}

void ModelReader::skipWhite() {
    for (;;) {
        while (pos_ != end_ && isBlank(*pos_))
            ++pos_;
        if (end_ - pos_ >= kLookahead || exhausted_)
            return;
        refill();
    }
}

bool ModelReader::skipBlanks() {
    for (;;) {
        if (closed_)
            return false;
        skipWhite();
        if (pos_ != end_ && *pos_ == ',')
            ++pos_; // one comma only; blanks after it are left to the extraction
        if (pos_ == end_)
            return close();
        if (*pos_ != '#')
            return true;
        int taken = 0;
        while (taken < kMaxCommentChars) {
            if (pos_ == end_) {
                fill();
                if (pos_ == end_)
                    break;
            }
            const char c = *pos_++;
            if (c == '\n')
                break;
            ++taken;
        }
    }
}

std::string_view ModelReader::takeWord() {
    skipWhite();
    const char* start = pos_;
    while (pos_ != end_ && !isBlank(*pos_))
        ++pos_;
    if (pos_ != end_ || exhausted_)
        return {start, static_cast<std::size_t>(pos_ - start)};
    // A word longer than the lookahead runs past the buffer. Its first characters are all
    // that any field keeps, and no keyword is that long.
    longWord_.assign(start,
                     std::min<std::size_t>(static_cast<std::size_t>(pos_ - start), kMaxNameLength));
    for (;;) {
        fill();
        while (pos_ != end_ && !isBlank(*pos_)) {
            if (longWord_.size() < kMaxNameLength)
                longWord_ += *pos_;
            ++pos_;
        }
        if (pos_ != end_ || exhausted_)
            return longWord_;
    }
}

bool ModelReader::seekWord(std::string_view keyword) {
    if (!skipBlanks())
        return false;
    while (takeWord() != keyword) {
        if (!skipBlanks())
            return false;
    }
    // A keyword that is the last token of the file counts as not found.
    return skipBlanks();
}

bool ModelReader::readWord(std::string& destination, std::size_t maxLength) {
    if (!skipBlanks())
        return false;
    // A word longer than its field is cut to the field; the rest of it is dropped with it,
    // so the words that follow are still read in their places.
    const std::string_view word = takeWord();
    destination.assign(word.substr(0, maxLength));
    return true;
}

// A word that is not kept: the entry labels in front of list lines.
bool ModelReader::skipWord() {
    if (!skipBlanks())
        return false;
    takeWord();
    return true;
}

// After skipBlanks, blanks remain only where a comma was taken; the extraction skips them.
void ModelReader::skipWhiteAfterComma() {
    if (isBlank(*pos_))
        skipWhite();
}

bool ModelReader::readInt(int& destination) {
    if (!skipBlanks())
        return false;
    skipWhiteAfterComma();
    const char* limit = pos_ + std::min<std::ptrdiff_t>(kMaxIntChars, end_ - pos_);
    const char* p = pos_;
    bool negative = false;
    if (p != limit && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    int base = 10;
    bool anyDigit = false;
    if (p != limit && *p == '0') {
        ++p;
        anyDigit = true;
        base = 8;
        if (p != limit && (*p == 'x' || *p == 'X')) {
            ++p;
            base = 16;
        }
    }
    // At most 15 characters: no int64 overflow on the way to the range check.
    long long value = 0;
    const char* digits = p;
    if (base == 10) {
        while (p != limit && static_cast<unsigned char>(*p - '0') < 10)
            value = value * 10 + (*p++ - '0');
    } else {
        while (p != limit && isDigitOfBase(*p, base))
            value = value * base + digitValue(*p++);
    }
    anyDigit = anyDigit || p != digits;
    pos_ = p;
    if (!anyDigit)
        return close();
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return close();
    destination = static_cast<int>(value);
    return true;
}

bool ModelReader::readDouble(double& destination) {
    if (!skipBlanks())
        return false;
    skipWhiteAfterComma();
    const char* limit = pos_ + std::min<std::ptrdiff_t>(kMaxRealChars, end_ - pos_);
    const char* p = pos_;
    const char* numberStart = p;
    bool negative = false;
    if (p != limit && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    // The digits are gathered as one whole number on the way.
    std::uint64_t whole = 0;
    const auto digits = [&] {
        const char* start = p;
        while (p != limit && static_cast<unsigned char>(*p - '0') < 10)
            whole = whole * 10 + static_cast<unsigned>(*p++ - '0');
        return static_cast<int>(p - start);
    };
    const int integerDigits = digits();
    int fractionDigits = 0;
    if (p != limit && *p == '.') {
        ++p;
        fractionDigits = digits();
    }
    if (integerDigits + fractionDigits == 0) {
        pos_ = p;
        return close();
    }
    bool exponent = false;
    if (p != limit && (*p == 'e' || *p == 'E')) {
        exponent = true;
        ++p;
        if (p != limit && (*p == '+' || *p == '-'))
            ++p;
        // An exponent mark without digits makes the whole number unreadable, as it does for
        // stream extraction.
        if (digits() == 0) {
            pos_ = p;
            return close();
        }
    }
    pos_ = p;
    // The reals of usual files ("-0.123456", "12.5") have few digits and no exponent. For
    // those, the whole number and one division by an exact power of ten give the correctly
    // rounded double, much faster than a general conversion.
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    if (!exponent && integerDigits + fractionDigits <= 19 && whole < kExactLimit &&
        fractionDigits <= 22) {
        const double magnitude = static_cast<double>(whole) / kExactPowersOfTen[fractionDigits];
        destination = negative ? -magnitude : magnitude;
        return true;
    }
    if (*numberStart == '+')
        ++numberStart; // from_chars takes no plus sign
    double value = 0;
    const auto result = std::from_chars(numberStart, p, value);
    // Out-of-range values are refused, so every real read is finite.
    if (result.ec != std::errc() || result.ptr != p)
        return close();
    destination = value;
    return true;
}

bool ModelReader::load(Model& model) {
    if (!seekWord("SECTION:") || !seekWord("HEADER") || !seekWord("3DO") ||
        !readDouble(model.version))
        return false;

    int count = 0;
    if (!seekWord("SECTION:") || !seekWord("MODELRESOURCE") || !seekWord("MATERIALS") ||
        !readInt(count) || count < 0)
        return false;
    reserveFor(model.materials, count);
    for (int i = 0; i < count; ++i) {
        Material& material = model.materials.emplace_back();
        if (!skipWord() || !readWord(material.name, kMaxNameLength))
            return false;
        // The last four characters are the extension (".mat"). A name too short to have one
        // is kept whole rather than cut to nothing.
        if (material.name.size() >= 4)
            material.name.resize(material.name.size() - 4);
    }
    if (!seekWord("SECTION:"))
        return false;

    if (!seekWord("GEOMETRYDEF") || !seekWord("RADIUS") || !readDouble(model.radius) ||
        !seekWord("INSERT") || !seekWord("OFFSET") || !readDouble(model.insertOffset.x) ||
        !readDouble(model.insertOffset.y) || !readDouble(model.insertOffset.z) ||
        !seekWord("GEOSETS") || !readInt(model.numGeosets) || !seekWord("MESHES") ||
        !readInt(count) || count < 1)
        return false;
    const int numMeshes = count;
    reserveFor(model.meshes, numMeshes);
    for (int m = 0; m < numMeshes; ++m) {
        Mesh& mesh = model.meshes.emplace_back();
        if (!seekWord("MESH") || !seekWord("NAME") || !readWord(mesh.name, kMaxNameLength) ||
            !seekWord("RADIUS") || !readDouble(mesh.radius) || !seekWord("GEOMETRYMODE") ||
            !readInt(mesh.geometryMode) || !seekWord("LIGHTINGMODE") ||
            !readInt(mesh.lightingMode) || !seekWord("TEXTUREMODE") || !readInt(mesh.textureMode))
            return false;

        int numVertices = 0;
        if (!seekWord("VERTICES") || !readInt(numVertices) || numVertices < 0)
            return false;
        reserveFor(mesh.vertices, numVertices);
        for (int j = 0; j < numVertices; ++j) {
            Vertex& v = mesh.vertices.emplace_back();
            if (!skipWord() || !readDouble(v.x) || !readDouble(v.y) || !readDouble(v.z) ||
                !readDouble(v.intensity))
                return false;
        }

        int numTxverts = 0;
        if (!seekWord("TEXTURE") || !seekWord("VERTICES") || !readInt(numTxverts) || numTxverts < 0)
            return false;
        reserveFor(mesh.txverts, numTxverts);
        for (int j = 0; j < numTxverts; ++j) {
            TextureVertex& t = mesh.txverts.emplace_back();
            if (!skipWord() || !readDouble(t.u) || !readDouble(t.v))
                return false;
        }

        if (!seekWord("VERTEX") || !seekWord("NORMALS"))
            return false;
        mesh.vertexNormals.reserve(mesh.vertices.size());
        for (int j = 0; j < numVertices; ++j) {
            Vector3& n = mesh.vertexNormals.emplace_back();
            if (!skipWord() || !readDouble(n.x) || !readDouble(n.y) || !readDouble(n.z))
                return false;
        }

        int numFaces = 0;
        if (!seekWord("FACES") || !readInt(numFaces) || numFaces < 0)
            return false;
        reserveFor(mesh.faces, numFaces);
        // Faces are mostly triangles and quads.
        reserveFor(mesh.corners, std::min(numFaces, kMaxReserve) * 4);
        for (int k = 0; k < numFaces; ++k) {
            Face& f = mesh.faces.emplace_back();
            int corners = 0;
            if (!skipWord() || !readInt(f.material) || !readWord(f.type, kMaxShortWordLength) ||
                !readInt(f.geometryMode) || !readInt(f.lightingMode) || !readInt(f.textureMode) ||
                !readDouble(f.extraLight) || !readInt(corners) || corners < 0)
                return false;
            // The corner list is indexed by int.
            const auto numCorners = static_cast<int>(mesh.corners.size());
            if (corners > std::numeric_limits<int>::max() - numCorners)
                return false;
            f.firstCorner = numCorners;
            for (int c = 0; c < corners; ++c) {
                VertexRef& ref = mesh.corners.emplace_back();
                if (!readInt(ref.vertex) || !readInt(ref.txvert))
                    return false;
                ++f.numCorners;
            }
        }

        if (!seekWord("FACE") || !seekWord("NORMALS"))
            return false;
        mesh.faceNormals.reserve(mesh.faces.size());
        for (int k = 0; k < numFaces; ++k) {
            Vector3& n = mesh.faceNormals.emplace_back();
            if (!skipWord() || !readDouble(n.x) || !readDouble(n.y) || !readDouble(n.z))
                return false;
        }
    }

    // The next section header skips every further geoset of the geometry section.
    if (!seekWord("SECTION:") || !seekWord("HIERARCHYDEF") || !seekWord("HIERARCHY") ||
        !seekWord("NODES") || !readInt(count) || count < 0)
        return false;
    reserveFor(model.nodes, count);
    for (int i = 0; i < count; ++i) {
        HierarchyNode& n = model.nodes.emplace_back();
        if (!skipWord() || !readWord(n.flags, kMaxShortWordLength) ||
            !readWord(n.type, kMaxShortWordLength) || !readInt(n.mesh) || !readInt(n.parent) ||
            !readInt(n.child) || !readInt(n.sibling) || !readInt(n.numChildren) ||
            !readDouble(n.x) || !readDouble(n.y) || !readDouble(n.z) || !readDouble(n.pitch) ||
            !readDouble(n.yaw) || !readDouble(n.roll) || !readDouble(n.pivotx) ||
            !readDouble(n.pivoty) || !readDouble(n.pivotz) ||
            !readWord(n.hnodename, kMaxNameLength))
            return false;
    }
    // Anything after the last node's name is never read.
    return true;
}

bool Model::load(std::istream& in) {
    try {
        return ModelReader(in).load(*this);
    } catch (const std::ios_base::failure&) {
        return false; // a read error (a folder opened as a file, a failing disk)
    } catch (const std::bad_alloc&) {
        return false; // a model too large to hold
    }
}

bool Model::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.good())
        return false;
    return load(in);
}

} // namespace sw
