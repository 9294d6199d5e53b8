#!/usr/bin/env python3
"""Writes Skinweaver's sample model and its textures.

    python3 samples/make_samples.py [FOLDER]

FOLDER defaults to the folder of this script. It receives:

  totem.3do          a totem of three boxes placed by a three-level hierarchy
  lantern.3do        an eight-sided lantern, bulging in the middle, whose sides remap into a
                     layout with vertices inside the texture as well as on its edges
  mat/stone.MAT      8-bit texture (palette indices), 64 x 64
  mat/wood.MAT       16-bit texture, 32 x 64
  mat/red.MAT        colour material (one palette entry)
  bmp/banner.BMP     24-bit image standing in for the material "banner", which has no MAT
  totem.cmp          a palette to choose in the Preferences instead of the built-in one

Only the standard library is used, and the output is the same on every run.
"""

import math
import os
import struct
import sys

# --- textures -------------------------------------------------------------------------------

MAT_HEADER_SIZE = 76
MAT_COLOUR = 0
MAT_TEXTURE = 2


def mat_header(kind, bits_per_pixel):
    # "MAT " and version 0x32, the type at 8, one texture (12 and 16), bits per pixel at 24;
    # the remaining fields describe the colour channels and are left zero.
    header = b"MAT " + struct.pack("<7i", 0x32, kind, 1, 1, 0, bits_per_pixel, 0)
    return header + bytes(MAT_HEADER_SIZE - len(header))


def colour_mat(palette_index):
    # One 24-byte record whose second int32 is the palette index.
    return mat_header(MAT_COLOUR, 8) + struct.pack("<6i", 0, palette_index, 0, 0, 0, 0)


def texture_mat(width, height, bits_per_pixel, pixels):
    """pixels: rows top first, one palette index or one 16-bit colour per pixel."""
    record = struct.pack("<10i", 8, 0, 0, 0, 0, 0, 0, 0, 0, 0)  # 40 bytes, not read
    image = struct.pack("<6i", width, height, 0, 0, 0, 1)  # width, height, 16 bytes not read
    fmt = "<%dB" if bits_per_pixel == 8 else "<%dH"
    data = b"".join(struct.pack(fmt % width, *row) for row in pixels)
    return mat_header(MAT_TEXTURE, bits_per_pixel) + record + image + data


def stone_pixels():
    # Bricks in the grey ramp 32..63 of the built-in palette, joints darker.
    rows = []
    for y in range(64):
        row = []
        for x in range(64):
            shift = 16 if (y // 16) % 2 else 0
            joint = y % 16 == 0 or (x + shift) % 32 == 0
            grain = (x * 7 + y * 13) % 5
            row.append(58 if joint else 36 + grain)
        rows.append(row)
    return rows


def colour16(r, g, b):
    # Red in bits 15-11, green in 10-6, blue in 4-0 (bit 5 unused), 5 bits each.
    return (r >> 3) << 11 | (g >> 3) << 6 | (b >> 3)


def wood_pixels():
    rows = []
    for y in range(64):
        row = []
        for x in range(32):
            ring = 0.5 + 0.5 * math.sin(x * 0.9 + math.sin(y * 0.2) * 2.0)
            row.append(colour16(int(120 + 70 * ring), int(70 + 40 * ring), int(30 + 15 * ring)))
        rows.append(row)
    return rows


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) gives (r, g, b) with y = 0 the top row."""
    stride = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        data += row + bytes(stride - len(row))
    offset = 14 + 40
    return (b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
            + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
            + bytes(data))


def banner_pixel(x, y):
    # A yellow sun on blue with a red border.
    if x < 2 or y < 2 or x > 61 or y > 29:
        return (200, 30, 30)
    if (x - 32) ** 2 + ((y - 16) * 2) ** 2 < 14 ** 2:
        return (250, 210, 40)
    return (30, 60, 160 + y * 2)


def cmp_palette():
    # A warm palette: the grey ramp becomes sandstone, the rest runs through the hues.
    entries = []
    for i in range(256):
        if 32 <= i < 64:
            t = (63 - i) / 31
            entries.append((int(90 + 150 * t), int(60 + 120 * t), int(30 + 70 * t)))
        else:
            h = i / 256 * 6
            c = [max(0.0, min(1.0, abs((h + k) % 6 - 3) - 1)) for k in (0, 4, 2)]
            entries.append(tuple(int(40 + 215 * v) for v in c))
    entries[0] = (0, 0, 0)
    header = b"CMP" + bytes((0x1E,)) + bytes(60)  # 64 bytes, only "CMP" is examined
    return header + b"".join(bytes(e) for e in entries)


# --- model ----------------------------------------------------------------------------------

MATERIALS = ["stone.mat", "wood.mat", "red.mat", "banner.mat"]
STONE, WOOD, RED, BANNER = range(4)
# Texture sizes in texels, for the texture vertices of each material's faces. The colour
# material is shown as an 8 x 8 image.
SIZES = {STONE: (64, 64), WOOD: (32, 64), RED: (8, 8), BANNER: (64, 32)}

# The faces of a box: corners (as bits x, y, z of the vertex index) and the outward normal.
BOX_FACES = [
    ("bottom", (0, 2, 3, 1), (0, 0, -1)),
    ("top", (4, 5, 7, 6), (0, 0, 1)),
    ("front", (0, 1, 5, 4), (0, -1, 0)),
    ("back", (3, 2, 6, 7), (0, 1, 0)),
    ("left", (2, 0, 4, 6), (-1, 0, 0)),
    ("right", (1, 3, 7, 5), (1, 0, 0)),
]


def box(name, low, high, materials):
    """A box mesh; materials maps a side name to its material (missing sides: the default)."""
    vertices = [(high[0] if i & 1 else low[0], high[1] if i & 2 else low[1],
                 high[2] if i & 4 else low[2]) for i in range(8)]
    centre = [(a + b) / 2 for a, b in zip(low, high)]
    txverts = []
    faces = []
    for side, corners, normal in BOX_FACES:
        material = materials.get(side, materials["default"])
        w, h = SIZES[material]
        refs = []
        # The whole texture once per side; v runs negative in the file.
        for (u, v), vertex in zip(((0, 0), (w, 0), (w, -h), (0, -h)), corners):
            # Sides share texture vertices of the same texel values, whatever their material,
            # as exported files do; preparation gives each material its own.
            if (u, v) not in txverts:
                txverts.append((u, v))
            refs.append((vertex, txverts.index((u, v))))
        faces.append((material, refs, normal))
    radius = max(math.dist(v, centre) for v in vertices)
    normals = []
    for v in vertices:
        d = [a - c for a, c in zip(v, centre)]
        n = math.sqrt(sum(x * x for x in d))
        normals.append(tuple(x / n for x in d))
    return {"name": name, "radius": radius, "vertices": vertices, "normals": normals,
            "txverts": txverts, "faces": faces}


MESHES = [
    box("base", (-0.4, -0.4, 0.0), (0.4, 0.4, 0.2), {"default": STONE, "top": WOOD}),
    box("pole", (-0.15, -0.15, 0.0), (0.15, 0.15, 1.0), {"default": WOOD, "front": BANNER}),
    # Built around its pivot, which the hierarchy lifts to the top of the pole.
    box("head", (-0.25, -0.25, -0.2), (0.25, 0.25, 0.2), {"default": STONE, "front": RED}),
]


def lantern():
    """Three rings of eight vertices, the middle one wider: sixteen wood sides around, and a
    red cap of eight corners at each end."""
    rings = ((0.0, 0.4), (0.5, 0.55), (1.0, 0.4))  # height, radius
    vertices = []
    for z, r in rings:
        for k in range(8):
            angle = k * math.pi / 4
            vertices.append((round(r * math.cos(angle), 6), round(r * math.sin(angle), 6), z))
    w, h = SIZES[WOOD]
    # The wood wrapped around once: a column of texture vertices per corner, one more for the
    # seam, and the rings at the wood's top, middle and bottom.
    txverts = [(w * k / 8, -h * z) for z, _ in rings for k in range(9)]
    faces = []
    for ring in range(2):
        for k in range(8):
            a, b = ring * 8 + k, ring * 8 + (k + 1) % 8
            c, d = b + 8, a + 8
            ta, tb = ring * 9 + k, ring * 9 + k + 1
            angle = (k + 0.5) * math.pi / 4
            faces.append((WOOD, [(a, ta), (b, tb), (c, tb + 9), (d, ta + 9)],
                          (math.cos(angle), math.sin(angle), 0.0)))
    cw, ch = SIZES[RED]
    caps = len(txverts)
    txverts += [(cw / 2 + cw / 2 * math.cos(k * math.pi / 4),
                 -(ch / 2 + ch / 2 * math.sin(k * math.pi / 4))) for k in range(8)]
    faces.append((RED, [(16 + k, caps + k) for k in range(8)], (0.0, 0.0, 1.0)))
    faces.append((RED, [(7 - k, caps + 7 - k) for k in range(8)], (0.0, 0.0, -1.0)))
    normals = []
    for x, y, z in vertices:
        n = math.sqrt(x * x + y * y + (z - 0.5) ** 2)
        normals.append((x / n, y / n, (z - 0.5) / n))
    return {"name": "lantern", "radius": 0.75, "vertices": vertices, "normals": normals,
            "txverts": txverts, "faces": faces}


LANTERN_NODES = [(0, 0, -1, -1, -1, 0, (0.0, 0.0, 0.0), (0.0, 0.0, 0.0), "lantern")]

# num, mesh, parent, child, sibling, children, offset, pivot, name. The base node's offset
# lifts only the base: the pole and the head are placed from the pole's node down.
NODES = [
    (0, 0, -1, 1, -1, 1, (0.0, 0.0, 0.05), (0.0, 0.0, 0.0), "base"),
    (1, 1, 0, 2, -1, 1, (0.0, 0.0, 0.25), (0.0, 0.0, 0.0), "pole"),
    (2, 2, 1, -1, -1, 0, (0.0, 0.0, 1.0), (0.0, 0.0, 0.2), "head"),
]


def f(x):
    return "%.6f" % x


def model_text(meshes, nodes):
    lines = ["# Sample model of Skinweaver, written by samples/make_samples.py.",
             "SECTION: HEADER", "", "3DO 2.1", "",
             "SECTION: MODELRESOURCE", "", "# Materials list",
             "MATERIALS %d" % len(MATERIALS), ""]
    lines += ["%6d:%16s" % (i, m) for i, m in enumerate(MATERIALS)]
    radius = 1.0
    lines += ["", "", "SECTION: GEOMETRYDEF", "", "# Object radius", "RADIUS " + f(radius), "",
              "# Insertion offset", "INSERT OFFSET 0.000000 0.000000 0.000000", "",
              "# Number of Geometry Sets", "GEOSETS 1", "", "# Geometry Set definition",
              "GEOSET 0", "", "# Number of Meshes", "MESHES %d" % len(meshes), ""]
    for m, mesh in enumerate(meshes):
        lines += ["", "# Mesh definition", "MESH %d" % m, "", "NAME " + mesh["name"], "",
                  "RADIUS " + f(mesh["radius"]), "", "GEOMETRYMODE 4", "LIGHTINGMODE 3",
                  "TEXTUREMODE 3", "", "", "VERTICES %d" % len(mesh["vertices"]), "",
                  "# num:     x:         y:         z:         i:"]
        lines += ["%6d: %10s %10s %10s %10s" % (j, f(x), f(y), f(z), f(0))
                  for j, (x, y, z) in enumerate(mesh["vertices"])]
        lines += ["", "", "TEXTURE VERTICES %d" % len(mesh["txverts"]), ""]
        lines += ["%6d: %10s %10s" % (j, f(u), f(v)) for j, (u, v) in enumerate(mesh["txverts"])]
        lines += ["", "", "VERTEX NORMALS", "", "# num:     i:         j:         k:"]
        lines += ["%6d: %10s %10s %10s" % (j, f(x), f(y), f(z))
                  for j, (x, y, z) in enumerate(mesh["normals"])]
        lines += ["", "", "FACES %d" % len(mesh["faces"]), "",
                  "#  num:  material:   type:  geo:  light:   tex:  extralight:  verts:"]
        for k, (material, refs, _) in enumerate(mesh["faces"]):
            corners = "  ".join("%d,%2d" % ref for ref in refs)
            lines.append("%6d: %6d  0x0000  4  3  3  %s  %d  %s"
                         % (k, material, f(0), len(refs), corners))
        lines += ["", "", "FACE NORMALS", "", "# num:     i:         j:         k:"]
        lines += ["%6d: %10s %10s %10s" % (k, f(n[0]), f(n[1]), f(n[2]))
                  for k, (_, _, n) in enumerate(mesh["faces"])]
    lines += ["", "", "SECTION: HIERARCHYDEF", "", "# Hierarchy node list",
              "HIERARCHY NODES %d" % len(nodes), "",
              "#  num:   flags:   type:    mesh:  parent:  child:  sibling:  numChildren:"
              "        x:         y:         z:     pitch:       yaw:      roll:    pivotx:"
              "    pivoty:    pivotz:  hnodename:"]
    for num, mesh, parent, child, sibling, children, offset, pivot, name in nodes:
        values = [f(v) for v in offset + (0.0, 0.0, 0.0) + pivot]
        lines.append("%6d:  0x0000  0x0001  %6d  %6d  %6d  %6d  %6d  %s  %s"
                     % (num, mesh, parent, child, sibling, children,
                        " ".join("%10s" % v for v in values), name))
    return "\r\n".join(lines) + "\r\n"


def write(folder, relative, data):
    path = os.path.join(folder, *relative.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write(folder, "totem.3do", model_text(MESHES, NODES).encode("ascii"))
    write(folder, "lantern.3do", model_text([lantern()], LANTERN_NODES).encode("ascii"))
    write(folder, "mat/stone.MAT", texture_mat(64, 64, 8, stone_pixels()))
    write(folder, "mat/wood.MAT", texture_mat(32, 64, 16, wood_pixels()))
    write(folder, "mat/red.MAT", colour_mat(128))
    write(folder, "bmp/banner.BMP", bmp24(64, 32, banner_pixel))
    write(folder, "totem.cmp", cmp_palette())


if __name__ == "__main__":
    main()
