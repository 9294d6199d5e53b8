#pragma once

#include <string>

namespace sw {

// The separator the platform writes between the components of a path.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Finds the file that `path` names the way Windows would: letter case does not matter and a
// backslash separates components like the platform's own separator. Model folders made on
// Windows hold mat/wall.mat where the model asks for mat\WALL.MAT. On a case-sensitive file
// system each component that does not exist as written is looked up in its folder without
// regard to ASCII letter case (the first match in name order wins when several differ only in
// case). Returns the path as found, or `path` unchanged when some component matches nothing.
std::string resolveFileName(const std::string& path);

// The file `path` names as found on disk (resolveFileName), or nothing when it names no file
// in a folder: a folder, a file inside an archive, or none at all.
std::string fileOnDisk(const std::string& path);

} // namespace sw
