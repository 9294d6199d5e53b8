#pragma once

#include "model/Model.h"
#include "platform/ImageFiles.h"

#include <array>
#include <cstdint>

namespace sw {

// The colour of the outlines (R, G, B, A), one that textures rarely hold, so that a paint
// program can select the outlines by it.
inline constexpr std::array<std::uint8_t, 4> kOutlineColour{0xFF, 0x00, 0xFF, 0xFF};
// The largest side a template is asked for in; one of a texture's own size, which may be
// larger, is within the image readers' limits, which paintTemplate keeps.
inline constexpr int kMaxTemplateSide = 8192;
// The side of a template for a group without a texture.
inline constexpr int kUntexturedTemplateSide = 512;

// What a template of a group lies over: its texture (null when the group has none loaded) and
// the size a template is made in unless another is asked for, the texture's own, else
// kUntexturedTemplateSide square.
struct TemplateBase {
    const Material* texture = nullptr;
    int width = kUntexturedTemplateSide;
    int height = kUntexturedTemplateSide;
};
TemplateBase templateBaseOf(const Model& model, const GlGroup& group);

// A template to paint a group's texture on: one repeat of the texture (texture coordinates 0
// to 1 both ways) over the whole image, upright as the texture view shows it, and on it the
// outline of every face of the group, one pixel wide, opaque and without antialiasing. A
// corner lands on the pixel over the texel it addresses when the image is the texture's own
// size; what lies outside the unit square is cut at the image's edge. The ground is the
// `underlay` scaled to the image (each pixel takes the nearest), or transparent when that is
// null or empty. Empty when the size is beyond the limits of the image readers
// (withinImageLimits) or the image cannot be allocated.
RgbaPixels paintTemplate(const Mesh& mesh, const GlGroup& group, int width, int height,
                         const RgbaPixels* underlay);

} // namespace sw
