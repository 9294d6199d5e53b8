#pragma once

#include <string>

namespace sw::test {

// A small valid model: two materials, one triangle mesh, one node. Tests vary it by replacing
// pieces of the text.
inline const std::string kTriangleModel = R"(# made by hand
SECTION: HEADER
3DO 2.1
SECTION: MODELRESOURCE
MATERIALS 2
0: wall.mat
1: floor.mat
SECTION: GEOMETRYDEF
RADIUS 0.5
INSERT OFFSET 0 0 -0.1
GEOSETS 1
GEOSET 0
MESHES 1
MESH 0
NAME tri
RADIUS 1.5
GEOMETRYMODE 4
LIGHTINGMODE 3
TEXTUREMODE 3
VERTICES 3
0: 0 0 0 0
1: 1 0 0 0
2: 0 1 0.25 0.5
TEXTURE VERTICES 3
0: 0 0
1: 64 0
2: 0 -64
VERTEX NORMALS
0: 0 0 1
1: 0 0 1
2: 0 0 1
FACES 1
0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2
FACE NORMALS
0: 0 0 1
SECTION: HIERARCHYDEF
HIERARCHY NODES 1
0: 0x0000 0x00001 0 -1 -1 -1 0 0 0 0 0 0 0 0 0 0 root
)";

// Replaces the first occurrence of `from` (which must occur) by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to);

} // namespace sw::test
