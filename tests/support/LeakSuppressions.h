#pragma once

// Included by exactly one file of each test or benchmark program (the one with main).
// Font and display libraries keep caches for the life of the process (and
// SDL's GL drivers leak at unload); they are not ours to free, so the leak
// checker ignores them in every test program.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libpango\nleak:libharfbuzz\nleak:libSDL2\nleak:libX\nleak:libxcb\n"
           "leak:libxkbcommon\nleak:libdbus\nleak:libGL\nleak:swrast_dri\nleak:libgallium\nleak:libLLVM\n";
}
