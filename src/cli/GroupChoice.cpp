#include "cli/GroupChoice.h"

#include "cli/Commands.h"
#include "cli/ModelOpener.h"
#include "model/Model.h"

#include <QFile>
#include <QRegularExpression>

#include <array>
#include <cstring>
#include <utility>

namespace sw::cli {

namespace {

QString plural(int count, const char* one, const char* many) {
    return QString::number(count) + ' ' + (count == 1 ? one : many);
}

} // namespace

GroupCommandLine::GroupCommandLine(const char* name, const char* outputName) : name_(name) {
    parser.addOptions({mesh_, group_, direction_});
    addTexturesOption(parser);
    addPaletteOption(parser);
    parser.addPositionalArgument("IN.3do", "the model to read");
    parser.addPositionalArgument(outputName, "the file to write");
}

bool GroupCommandLine::parse(const QStringList& arguments) {
    if (!parser.parse(QStringList{name_} + arguments) || parser.positionalArguments().size() != 2 ||
        !parser.isSet(mesh_) || !parser.isSet(group_))
        return false;
    bool meshOk = false;
    bool groupOk = false;
    choice_.mesh = parser.value(mesh_).toInt(&meshOk);
    choice_.group = parser.value(group_).toInt(&groupOk);
    if (!meshOk || !groupOk)
        return false;
    choice_.direction.reset();
    choice_.box = parser.isSet(direction_) && parser.value(direction_) == "box";
    if (parser.isSet(direction_) && !choice_.box) {
        choice_.direction = directionNamed(parser.value(direction_));
        if (!choice_.direction)
            return false;
    }
    return true;
}

int GroupCommandLine::open(bool upload, Model& model) const {
    ModelOpener opener(upload, texturesOptionPaths(parser), paletteOptionFile(parser));
    const QString input = parser.positionalArguments().at(0);
    if (const int result = opener.open(QFile::encodeName(input).toStdString(), model);
        result != kExitOk)
        return result;
    QTextStream err(stderr);
    if (!groupExists(model, choice_, err) || !remapIfAsked(model, choice_, opener.messageBoxes()))
        return kExitFailure;
    return kExitOk;
}

std::optional<RemapDirection> directionNamed(const QString& name) {
    static constexpr std::array<std::pair<const char*, RemapDirection>, 6> kNames{{
        {"front", RemapDirection::Front},
        {"back", RemapDirection::Back},
        {"top", RemapDirection::Top},
        {"bott", RemapDirection::Bottom},
        {"left", RemapDirection::Left},
        {"right", RemapDirection::Right},
    }};
    for (const auto& [text, direction] : kNames)
        if (name == QLatin1String(text))
            return direction;
    return std::nullopt;
}

bool groupExists(const Model& model, const GroupChoice& choice, QTextStream& err) {
    if (choice.mesh < 0 || choice.mesh >= model.numMeshes()) {
        err << "The model has no mesh " << choice.mesh << ": it has "
            << plural(model.numMeshes(), "mesh", "meshes") << ", numbered from 0.\n";
        return false;
    }
    const Mesh& mesh = model.meshes[static_cast<std::size_t>(choice.mesh)];
    if (choice.group < 0 || choice.group >= mesh.numGlGroups()) {
        err << "Mesh " << choice.mesh << " (" << QFile::decodeName(mesh.name.c_str())
            << ") has no group " << choice.group << ": it has "
            << plural(mesh.numGlGroups(), "group", "groups") << ", numbered from 0.\n";
        return false;
    }
    return true;
}

bool remapIfAsked(Model& model, const GroupChoice& choice, MessageBoxService& messages) {
    if (!choice.remaps())
        return true;
    UvEditor editor(model, choice.mesh, choice.group);
    if (choice.box)
        return editor.boxRemap(model, messages);
    return editor.autoRemap(model, *choice.direction, messages);
}

bool parseSize(const QString& text, int maxSide, int& width, int& height) {
    const auto match = QRegularExpression("^(\\d{1,5})x(\\d{1,5})$").match(text);
    if (!match.hasMatch())
        return false;
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w < 1 || h < 1 || w > maxSide || h > maxSide)
        return false;
    width = w;
    height = h;
    return true;
}

QImage imageOfFrame(const std::vector<std::uint8_t>& pixels, int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(height - 1 - y), pixels.data() + rowBytes * y, rowBytes);
    return image;
}

} // namespace sw::cli
