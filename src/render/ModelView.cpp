#include "render/ModelView.h"

#include "model/Model.h"
#include "render/ViewState.h"

#include <GL/gl.h>

#include <cstddef>
#include <vector>

namespace sw {

namespace {

// The group chosen in the control panel is drawn tinted light green, faces and outline alike;
// everything else is white, which leaves a modulated texture as it is.
constexpr GLdouble kTint[3] = {0.8, 1.0, 0.8};
constexpr GLdouble kWhite[3] = {1.0, 1.0, 1.0};

// Display modes of a mesh; 0 hides it.
constexpr int kWire = 1;
constexpr int kShow = 2;

// Texturing for a filled group: the material's texture, which is the checkerboard of a missing
// image where none was decoded. Faces naming no material are drawn in the plain colour.
void setFilled(const Model& model, const GlGroup& group, const GLdouble* colour) {
    glColor3dv(colour);
    glEnable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const bool known = group.material >= 0 && group.material < model.numMaterials();
    const Material* material =
        known ? &model.materials[static_cast<std::size_t>(group.material)] : nullptr;
    glBindTexture(GL_TEXTURE_2D, material != nullptr ? material->glTexture : 0);
    if (material != nullptr && material->glTexture != 0)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void setWire(const GLdouble* colour, bool blend) {
    glColor3dv(colour);
    if (blend)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}

// One polygon per face. The model's z is up and the viewer starts on its +y side, so a
// vertex (x, y, z) goes to GL (x, z, -y). A corner whose indices fall outside its arrays is
// left out rather than read past the end.
void drawFaces(const Mesh& mesh, const GlGroup& group) {
    const std::vector<GlTxvert>& txverts = group.shared ? mesh.glTxverts : group.ownTxverts;
    const std::size_t numVerts = mesh.glVerts.size();
    const std::size_t numTxverts = txverts.size();
    for (const GlFace& face : group.glFaces) {
        glBegin(GL_POLYGON);
        for (const VertexRef& ref : face.refs) {
            const auto v = static_cast<std::size_t>(ref.vertex);
            const auto t = static_cast<std::size_t>(ref.txvert);
            if (v >= numVerts || t >= numTxverts)
                continue;
            glTexCoord2d(txverts[t].u, txverts[t].v);
            const GlVert& vert = mesh.glVerts[v];
            glVertex3d(vert.x, vert.z, -vert.y);
        }
        glEnd();
    }
}

} // namespace

void drawModelView(const Model& model, const ViewState& view) {
    // State that other drawing (the texture view) may have changed and that the picture
    // depends on, stated once so that every frame starts alike.
    glMatrixMode(GL_MODELVIEW);
    glLineWidth(1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    glPushMatrix();
    // Yaw turns the model about its own vertical axis; pitch then tilts the result.
    glRotated(view.pitch, -1.0, 0.0, 0.0);
    glRotated(view.yaw, 0.0, -1.0, 0.0);
    const double scale = view.modelScale * view.zoomFactor;
    glScaled(scale, scale, scale);

    for (const Mesh& mesh : model.meshes) {
        for (const GlGroup& group : mesh.glGroups) {
            if (group.selected)
                setFilled(model, group, kTint);
            else if (mesh.displayMode == kShow)
                setFilled(model, group, kWhite);
            else if (mesh.displayMode == kWire)
                setWire(kWhite, true);
            else
                continue; // hidden
            drawFaces(mesh, group);
            if (group.selected) {
                setWire(kTint, false);
                drawFaces(mesh, group);
            }
        }
    }
    glPopMatrix();
}

} // namespace sw
