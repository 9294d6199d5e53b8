#pragma once

#include <cstdio>
#include <string>

namespace sw::bench {

// The text of a large model in the layout community tools write: `meshes` meshes of a grid
// of quads, each mesh with `facesPerMesh` faces over two materials.
inline std::string generatedModelText(int meshes, int facesPerMesh) {
    std::string text;
    text.reserve(static_cast<std::size_t>(meshes) * facesPerMesh * 200);
    char line[512];
    const auto add = [&](int length) { text.append(line, static_cast<std::size_t>(length)); };
    text += "# generated\r\nSECTION: HEADER\r\n\r\n3DO 2.1\r\n\r\nSECTION: MODELRESOURCE\r\n\r\n"
            "MATERIALS 2\r\n\r\n     0:   wall.mat\r\n     1:  floor.mat\r\n\r\n"
            "SECTION: GEOMETRYDEF\r\n\r\nRADIUS 50.000000\r\n\r\n"
            "INSERT OFFSET 0.000000 0.000000 -0.100000\r\n\r\nGEOSETS 1\r\n\r\nGEOSET 0\r\n\r\n";
    add(std::snprintf(line, sizeof line, "MESHES %d\r\n\r\n", meshes));
    const int side = 1;
    for (int m = 0; m < meshes; ++m) {
        const int columns = 50;
        const int rows = (facesPerMesh + columns - 1) / columns;
        const int vertexColumns = columns + side;
        const int vertices = vertexColumns * (rows + 1);
        add(std::snprintf(
            line, sizeof line,
            "# Mesh definition\r\nMESH %d\r\n\r\nNAME part%d\r\n\r\nRADIUS 12.5\r\n\r\n"
            "GEOMETRYMODE 4\r\nLIGHTINGMODE 3\r\nTEXTUREMODE 3\r\n\r\n\r\n"
            "VERTICES %d\r\n\r\n# num:     x:         y:         z:         i:\r\n",
            m, m, vertices));
        for (int j = 0; j < vertices; ++j)
            add(std::snprintf(line, sizeof line, "%7d: %10.6f %10.6f %10.6f %10.6f\r\n", j,
                              (j % vertexColumns) * 0.01, (j / vertexColumns) * 0.01, m * 0.001,
                              0.0));
        add(std::snprintf(line, sizeof line, "\r\n\r\nTEXTURE VERTICES %d\r\n\r\n", vertices));
        for (int j = 0; j < vertices; ++j)
            add(std::snprintf(line, sizeof line, "%7d: %10.6f %10.6f\r\n", j,
                              (j % vertexColumns) * 4.0, -(j / vertexColumns) * 4.0));
        text += "\r\n\r\nVERTEX NORMALS\r\n\r\n# num:     i:         j:         k:\r\n";
        for (int j = 0; j < vertices; ++j)
            add(std::snprintf(line, sizeof line, "%7d: %10.6f %10.6f %10.6f\r\n", j, 0.0, 0.0,
                              1.0));
        add(std::snprintf(line, sizeof line,
                          "\r\n\r\nFACES %d\r\n\r\n#  num:  material:   type:  geo:  light:   "
                          "tex:  extralight:  verts:\r\n",
                          facesPerMesh));
        for (int k = 0; k < facesPerMesh; ++k) {
            const int a = (k / columns) * vertexColumns + k % columns;
            const int b = a + 1, c = a + vertexColumns + 1, d = a + vertexColumns;
            add(std::snprintf(line, sizeof line,
                              "%7d: %9d  0x0000 %4d %4d %4d %10.6f %4d %5d,%5d %5d,%5d %5d,%5d "
                              "%5d,%5d\r\n",
                              k, (k / 7) % 2, 4, 3, 3, 0.0, 4, a, a, b, b, c, c, d, d));
        }
        text += "\r\n\r\nFACE NORMALS\r\n\r\n# num:     i:         j:         k:\r\n";
        for (int k = 0; k < facesPerMesh; ++k)
            add(std::snprintf(line, sizeof line, "%7d: %10.6f %10.6f %10.6f\r\n", k, 0.0, 0.0,
                              1.0));
        text += "\r\n\r\n";
    }
    text += "###############\r\nSECTION: HIERARCHYDEF\r\n\r\n# Hierarchy node list\r\n";
    add(std::snprintf(line, sizeof line, "HIERARCHY NODES %d\r\n\r\n", meshes));
    for (int m = 0; m < meshes; ++m)
        add(std::snprintf(line, sizeof line,
                          "%6d:  0x0000 0x00001 %7d %7d %7d %7d %7d   0.000000   0.000000   "
                          "0.010000   0.000000   0.000000   0.000000   0.000000   0.000000   "
                          "0.000000  part%d\r\n",
                          m, m, m - 1, m + 1 < meshes ? m + 1 : -1, -1, m + 1 < meshes ? 1 : 0, m));
    return text;
}

} // namespace sw::bench
