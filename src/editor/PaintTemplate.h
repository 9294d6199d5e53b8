#pragma once

#include "model/Model.h"

#include <QImage>
#include <QSize>

namespace sw::cli {

// The colour of the outlines, one that textures rarely hold, so that a paint program can
// select the outlines by it.
inline constexpr QRgb kOutlineColour = 0xffff00ff;

// A template to paint a group's texture on: one repeat of the texture (texture coordinates 0
// to 1 both ways) over the whole image, upright as the texture view shows it, and on it the
// outline of every face of the group, one pixel wide, opaque and without antialiasing. A
// corner lands on the pixel over the texel it addresses when the image is the texture's own
// size; what lies outside the unit square is cut at the image's edge. The ground is the
// `underlay` scaled to the image, or transparent when that is null. A null image when the
// image cannot be allocated.
QImage paintTemplate(const Mesh& mesh, const GlGroup& group, QSize size, const QImage& underlay);

} // namespace sw::cli
