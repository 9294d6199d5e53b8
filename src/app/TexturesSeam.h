#pragma once

// Stand-ins for the texture-loading preferences and the palette until the textures layer
// provides them; start-up calls loadStartupPreferences where it reads both.

namespace sw {

struct Preferences {};
struct Palette {};

} // namespace sw
