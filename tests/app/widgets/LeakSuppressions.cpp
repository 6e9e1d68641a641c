// Fontconfig keeps its configuration caches for the life of the process; they
// are not ours to free, so the leak checker is told to ignore them. One
// definition serves the whole test_app program.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libpango\nleak:libharfbuzz\n";
}
