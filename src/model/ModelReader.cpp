#include "model/ModelReader.h"

#include "model/Model.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

namespace sw {

namespace {

// The longest integer and real texts one extraction takes, as the format's original reader did.
constexpr int kMaxIntChars = 15;
constexpr int kMaxRealChars = 27;
// A comment is taken in pieces of at most this many characters; a longer comment line leaves
// its remainder in the input, where it is read as words.
constexpr int kMaxCommentChars = 255;
// Arrays are sized as they are read, never from a count alone, so that a huge count in a
// small file cannot claim memory; this caps what is reserved ahead.
constexpr int kMaxReserve = 1 << 16;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
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

template <typename T> void reserveFor(std::vector<T>& array, int count) {
    array.reserve(static_cast<std::size_t>(std::min(count, kMaxReserve)));
}

} // namespace

bool ModelReader::skipBlanks() {
    for (;;) {
        if (closed_)
            return false;
        while (pos_ != end_ && isBlank(*pos_))
            ++pos_;
        if (pos_ != end_ && *pos_ == ',')
            ++pos_; // one comma only; blanks after it are left to the extraction
        if (pos_ == end_)
            return close();
        if (*pos_ != '#')
            return true;
        int taken = 0;
        while (pos_ != end_ && taken < kMaxCommentChars) {
            const char c = *pos_++;
            if (c == '\n')
                break;
            ++taken;
        }
    }
}

std::string_view ModelReader::takeWord() {
    while (pos_ != end_ && isBlank(*pos_))
        ++pos_;
    const char* start = pos_;
    while (pos_ != end_ && !isBlank(*pos_))
        ++pos_;
    return {start, static_cast<std::size_t>(pos_ - start)};
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

bool ModelReader::readInt(int& destination) {
    if (!skipBlanks())
        return false;
    while (pos_ != end_ && isBlank(*pos_))
        ++pos_;
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
    long long value = 0;
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    bool overflow = false;
    while (p != limit && isDigitOfBase(*p, base)) {
        value = value * base + digitValue(*p++);
        overflow = overflow || value > kLimit;
        anyDigit = true;
    }
    pos_ = p;
    if (!anyDigit)
        return close();
    if (negative)
        value = -value;
    if (overflow || value > std::numeric_limits<int>::max() ||
        value < std::numeric_limits<int>::min())
        return close();
    destination = static_cast<int>(value);
    return true;
}

bool ModelReader::readDouble(double& destination) {
    if (!skipBlanks())
        return false;
    while (pos_ != end_ && isBlank(*pos_))
        ++pos_;
    const char* limit = pos_ + std::min<std::ptrdiff_t>(kMaxRealChars, end_ - pos_);
    const char* p = pos_;
    const auto digits = [&] {
        const char* start = p;
        while (p != limit && *p >= '0' && *p <= '9')
            ++p;
        return p != start;
    };
    const char* numberStart = p;
    if (p != limit && (*p == '+' || *p == '-'))
        ++p;
    bool mantissa = digits();
    if (p != limit && *p == '.') {
        ++p;
        mantissa = digits() || mantissa;
    }
    if (mantissa && p != limit && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != limit && (*p == '+' || *p == '-'))
            ++p;
        // An exponent mark without digits makes the whole number unreadable, as it does for
        // stream extraction.
        if (!digits()) {
            pos_ = p;
            return close();
        }
    }
    pos_ = p;
    if (!mantissa)
        return close();
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
    std::string scratch;
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
        if (!readWord(scratch, kMaxNameLength) || !readWord(material.name, kMaxNameLength))
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
            if (!readWord(scratch, kMaxNameLength) || !readDouble(v.x) || !readDouble(v.y) ||
                !readDouble(v.z) || !readDouble(v.intensity))
                return false;
        }

        int numTxverts = 0;
        if (!seekWord("TEXTURE") || !seekWord("VERTICES") || !readInt(numTxverts) || numTxverts < 0)
            return false;
        reserveFor(mesh.txverts, numTxverts);
        for (int j = 0; j < numTxverts; ++j) {
            TextureVertex& t = mesh.txverts.emplace_back();
            if (!readWord(scratch, kMaxNameLength) || !readDouble(t.u) || !readDouble(t.v))
                return false;
        }

        if (!seekWord("VERTEX") || !seekWord("NORMALS"))
            return false;
        mesh.vertexNormals.reserve(mesh.vertices.size());
        for (int j = 0; j < numVertices; ++j) {
            Vector3& n = mesh.vertexNormals.emplace_back();
            if (!readWord(scratch, kMaxNameLength) || !readDouble(n.x) || !readDouble(n.y) ||
                !readDouble(n.z))
                return false;
        }

        int numFaces = 0;
        if (!seekWord("FACES") || !readInt(numFaces) || numFaces < 0)
            return false;
        reserveFor(mesh.faces, numFaces);
        for (int k = 0; k < numFaces; ++k) {
            Face& f = mesh.faces.emplace_back();
            int corners = 0;
            if (!readWord(scratch, kMaxNameLength) || !readInt(f.material) ||
                !readWord(f.type, kMaxShortWordLength) || !readInt(f.geometryMode) ||
                !readInt(f.lightingMode) || !readInt(f.textureMode) || !readDouble(f.extraLight) ||
                !readInt(corners) || corners < 0)
                return false;
            reserveFor(f.refs, corners);
            for (int c = 0; c < corners; ++c) {
                VertexRef& ref = f.refs.emplace_back();
                if (!readInt(ref.vertex) || !readInt(ref.txvert))
                    return false;
            }
        }

        if (!seekWord("FACE") || !seekWord("NORMALS"))
            return false;
        mesh.faceNormals.reserve(mesh.faces.size());
        for (int k = 0; k < numFaces; ++k) {
            Vector3& n = mesh.faceNormals.emplace_back();
            if (!readWord(scratch, kMaxNameLength) || !readDouble(n.x) || !readDouble(n.y) ||
                !readDouble(n.z))
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
        if (!readWord(scratch, kMaxNameLength) || !readWord(n.flags, kMaxShortWordLength) ||
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
    std::string text;
    try {
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return false; // a read error (a folder opened as a file, a failing disk)
    }
    if (in.bad())
        return false;
    return ModelReader(text).load(*this);
}

bool Model::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.good())
        return false;
    return load(in);
}

} // namespace sw
