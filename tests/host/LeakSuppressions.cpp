// Fontconfig, Pango and the X and SDL libraries keep caches for the life of
// the process; they are not ours to free, so the leak checker ignores them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libpango\nleak:libharfbuzz\nleak:libSDL2\nleak:libX\nleak:libxcb\nleak:"
           "libxkbcommon\n"
           "leak:libdbus\nleak:libGL\nleak:swrast_dri\nleak:libgallium\nleak:libLLVM\n";
}
