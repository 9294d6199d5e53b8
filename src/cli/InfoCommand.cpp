#include "cli/Commands.h"

#include "model/Model.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace sw::cli {

namespace {

QString text(const std::string& s) {
    return QFile::decodeName(QByteArray(s.data(), static_cast<qsizetype>(s.size())));
}

QJsonObject summary(const Model& model) {
    QJsonArray materials;
    for (const Material& material : model.materials)
        materials.append(text(material.name));
    QJsonArray meshes;
    for (const Mesh& mesh : model.meshes) {
        meshes.append(QJsonObject{{"name", text(mesh.name)},
                                  {"radius", mesh.radius},
                                  {"geometryMode", mesh.geometryMode},
                                  {"lightingMode", mesh.lightingMode},
                                  {"textureMode", mesh.textureMode},
                                  {"numVertices", mesh.numVertices()},
                                  {"numTxverts", mesh.numTxverts()},
                                  {"numFaces", mesh.numFaces()}});
    }
    QJsonArray nodes;
    for (const HierarchyNode& node : model.nodes) {
        nodes.append(QJsonObject{
            {"hnodename", text(node.hnodename)}, {"mesh", node.mesh}, {"parent", node.parent}});
    }
    const Vector3& o = model.insertOffset;
    return QJsonObject{{"version", model.version},
                       {"radius", model.radius},
                       {"insertOffset", QJsonArray{o.x, o.y, o.z}},
                       {"materials", materials},
                       {"meshes", meshes},
                       {"nodes", nodes}};
}

} // namespace

int runInfo(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addPositionalArgument("MODEL.3do", "the model to summarise");
    QTextStream err(stderr);
    if (!parser.parse(QStringList{"info"} + arguments) ||
        parser.positionalArguments().size() != 1) {
        err << "Usage: skinweaver-cli info MODEL.3do\n";
        return kExitUsage;
    }
    Model model;
    if (!model.load(QFile::encodeName(parser.positionalArguments().front()).toStdString())) {
        err << "Error loading file.\n";
        return kExitFailure;
    }
    QTextStream(stdout) << QJsonDocument(summary(model)).toJson(QJsonDocument::Indented);
    return kExitOk;
}

} // namespace sw::cli
