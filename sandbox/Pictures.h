#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zorlet::sandbox {

class Connection;

// Uploaded and generated pictures: checked to be real JPEG or PNG files,
// stored under the data folder with a random name, served back over HTTP.
class Pictures {
public:
    enum class Kind { Jpeg, Png };
    struct Checked {
        Kind kind;
        int width;
        int height;
    };

    static constexpr size_t maxBytes = 5 * 1024 * 1024;
    static constexpr int maxSide = 8000;
    // What clients are willing to decode: a 16 Mpx picture is 64 MiB of pixels.
    static constexpr std::int64_t maxPixels = 4096 * 4096;
    // PNG checks decode the whole picture; a few at a time keep that memory bounded.
    static constexpr int concurrentDecodes = 2;

    explicit Pictures(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Nothing unless the bytes are a JPEG or PNG whose header decodes and whose size is sane.
    // The declared size is checked before any decoding.
    static std::optional<Checked> check(std::string_view bytes);
    // The most PNG decodes that ever ran at the same time.
    static int peakConcurrentDecodes();
    // Writes the file and records it inside the caller's transaction; the stored name, or nothing on failure.
    std::optional<std::string> store(Connection& connection, std::string_view bytes, const Checked& checked,
                                     std::optional<std::int64_t> uid);
    // The file behind a served name; nothing for names the service never hands out.
    std::optional<std::filesystem::path> fileOf(const std::string& name) const;
    void removeAll();
    const std::filesystem::path& folder() const { return folder_; }

    static std::string contentTypeOf(const std::string& name);
    static std::string url(const std::string& baseUrl, const std::string& name);

private:
    std::filesystem::path folder_;
};

}  // namespace zorlet::sandbox
