#include "sandbox/Pictures.h"

#include "sandbox/ConcurrencyLimit.h"
#include "sandbox/Connection.h"
#include "sandbox/Passwords.h"
#include "sandbox/TextRules.h"

#include "platform/AtomicFile.h"
#include "platform/Image.h"
#include "platform/PictureHeader.h"

#include <algorithm>
#include <ctime>

namespace zorlet::sandbox {

namespace {

bool saneSize(const PictureDimensions& size) {
    std::int64_t width = size.width;
    std::int64_t height = size.height;
    return width > 0 && height > 0 && width <= Pictures::maxSide && height <= Pictures::maxSide &&
           width * height <= Pictures::maxPixels;
}

ConcurrencyLimit& decoding() {
    static ConcurrencyLimit limit(Pictures::concurrentDecodes);
    return limit;
}

}  // namespace

int Pictures::peakConcurrentDecodes() {
    return decoding().peak();
}

std::optional<Pictures::Checked> Pictures::check(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > maxBytes) {
        return std::nullopt;
    }
    // The declared size comes first, so a tiny file cannot ask for gigabytes.
    auto size = PictureHeader::read(bytes);
    if (!size || !saneSize(*size)) {
        return std::nullopt;
    }
    Checked checked{Kind::Jpeg, static_cast<int>(size->width), static_cast<int>(size->height)};
    static constexpr std::string_view pngSignature = "\x89PNG\r\n\x1a\n";
    if (bytes.starts_with(pngSignature)) {
        // A PNG's header says little about the rest: decode it whole, a few at a time.
        checked.kind = Kind::Png;
        auto permit = decoding().enter();
        if (Image::decode(bytes) == nullptr) {
            return std::nullopt;
        }
    }
    return checked;
}

std::optional<std::string> Pictures::store(Connection& connection, std::string_view bytes,
                                           const Checked& checked, std::optional<std::int64_t> uid) {
    auto name = Passwords::randomHex(16) + (checked.kind == Kind::Jpeg ? ".jpg" : ".png");
    if (!AtomicFile::write(folder_ / name, bytes).empty()) {
        return std::nullopt;
    }
    connection
        .prepare("INSERT INTO pictures (name, uid, content_type, bytes, created) VALUES (?, ?, ?, ?, ?)")
        .bind(1, name)
        .bind(2, uid)
        .bind(3, contentTypeOf(name))
        .bind(4, static_cast<std::int64_t>(bytes.size()))
        .bind(5, static_cast<std::int64_t>(std::time(nullptr)))
        .run();
    return name;
}

std::optional<std::filesystem::path> Pictures::fileOf(const std::string& name) const {
    // Only names of the form the service creates: 32 hex digits and a known extension.
    if (name.size() != 36 || !TextRules::isHex(std::string_view(name).substr(0, 32))) {
        return std::nullopt;
    }
    auto extension = name.substr(32);
    if (extension != ".jpg" && extension != ".png") {
        return std::nullopt;
    }
    auto path = folder_ / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return path;
}

void Pictures::removeAll() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        if (fileOf(entry.path().filename().string())) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

std::string Pictures::contentTypeOf(const std::string& name) {
    return name.ends_with(".png") ? "image/png" : "image/jpeg";
}

std::string Pictures::url(const std::string& baseUrl, const std::string& name) {
    if (name.empty()) {
        return {};
    }
    return baseUrl + "/pictures/" + name;
}

}  // namespace zorlet::sandbox
