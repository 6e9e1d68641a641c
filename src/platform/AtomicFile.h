#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zorlet {

// Whole-file reads and atomic replacement: the bytes go to a temporary file in
// the same folder, are flushed to disk, then renamed over the target, so a
// crash leaves either the old file or the new one, never half of one.
class AtomicFile {
public:
    // Empty string on success, else why it failed. Missing parent folders are created.
    static std::string write(const std::filesystem::path& path, std::string_view bytes, int mode = 0644);
    static std::optional<std::string> read(const std::filesystem::path& path);
};

}  // namespace zorlet
