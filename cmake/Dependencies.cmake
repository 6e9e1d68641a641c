find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(UV REQUIRED IMPORTED_TARGET libuv)
pkg_check_modules(ICU REQUIRED IMPORTED_TARGET icu-uc icu-i18n)
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo pango cairo)
# JPEG through the TurboJPEG API: errors come back as values, no setjmp.
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libturbojpeg)
# Our artwork is SVG; librsvg turns it into pixels at the scale the screen draws.
pkg_check_modules(RSVG REQUIRED IMPORTED_TARGET librsvg-2.0)
pkg_check_modules(SQLITE REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
find_package(nlohmann_json 3.10 REQUIRED)
find_package(spdlog REQUIRED)
find_package(yaml-cpp REQUIRED)
# The programs' command lines.
find_package(CLI11 REQUIRED)
find_package(SDL2 QUIET)
