#include "SandboxFixture.h"

#include "platform/Image.h"

#include "sandbox/AvatarPainter.h"

#include <zlib.h>

#include <cstdio>
#include <random>
#include <vector>

namespace zorlet::sandbox::test {

Answer ApiClient::finish(const httplib::Result& result) {
    Answer answer;
    if (!result) {
        ADD_FAILURE() << "no answer: " << httplib::to_string(result.error());
        return answer;
    }
    answer.status = result->status;
    answer.text = result->body;
    answer.headers = result->headers;
    answer.body = nlohmann::json::parse(result->body, nullptr, false);
    auto [begin, end] = result->headers.equal_range("Set-Cookie");
    for (auto it = begin; it != end; ++it) {
        auto pair = it->second.substr(0, it->second.find(';'));
        auto equals = pair.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        auto name = pair.substr(0, equals);
        auto value = pair.substr(equals + 1);
        if (value.empty() || it->second.find("Max-Age=0") != std::string::npos) {
            cookies.erase(name);
        } else {
            cookies[name] = value;
        }
    }
    return answer;
}

httplib::Headers ApiClient::requestHeaders() const {
    std::string text;
    for (const auto& [name, value] : cookies) {
        text += (text.empty() ? "" : "; ") + name + "=" + value;
    }
    auto all = headers;
    if (!text.empty()) {
        all.emplace("Cookie", text);
    }
    return all;
}

Answer ApiClient::get(const std::string& path, const httplib::Params& params) {
    return finish(http_.Get(path, params, requestHeaders()));
}

Answer ApiClient::post(const std::string& path, const httplib::Params& params) {
    if (params.empty()) {
        return finish(http_.Post(path, requestHeaders(), "", "application/html;charset=UTF-8;"));
    }
    return finish(http_.Post(path, requestHeaders(), params));
}

Answer ApiClient::postMultipart(const std::string& path, const httplib::MultipartFormDataItems& items) {
    return finish(http_.Post(path, requestHeaders(), items));
}

nlohmann::json ApiClient::signIn(const std::string& account, const std::string& password) {
    auto answer =
        post("/passport/v132/login", {{"account", account}, {"password", password}, {"remember", "1"}});
    EXPECT_TRUE(answer.success()) << answer.text;
    return answer.success() ? answer.result() : nlohmann::json();
}

void SandboxTest::SetUp() {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("zorlet-sandbox-test-" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    SandboxOptions options;
    options.databasePath = folder_ / "sandbox.db";
    options.seedDemo = seedDemo();
    options.passwordCost = Passwords::Cost::Minimum;
    options.testControl = true;
    auto started = SandboxServer::start(options);
    ASSERT_TRUE(started) << started.error();
    server_ = std::move(*started);
}

ApiClient SandboxTest::admin() const {
    ApiClient client(port());
    client.headers.emplace("X-Sandbox-Secret", server_->testControlSecret());
    return client;
}

void SandboxTest::TearDown() {
    server_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::unique_ptr<ApiClient> SandboxTest::newSignedInUser(const std::string& nickname, std::int64_t* uid,
                                                        std::optional<double> longitude,
                                                        std::optional<double> latitude, int gender) {
    TestUser user;
    user.account = "tester" + std::to_string(++createdUsers_) + "@example.com";
    user.password = "secret99";
    user.nickname = nickname;
    user.gender = gender;
    user.cityId = 1;
    user.longitude = longitude;
    user.latitude = latitude;
    auto created = control().createUser(user);
    EXPECT_TRUE(created) << nickname;
    if (uid) {
        *uid = created.value_or(0);
    }
    auto client = std::make_unique<ApiClient>(port());
    client->signIn(user.account, user.password);
    return client;
}

std::string smallPng() {
    return AvatarPainter::avatar(3, false);
}

std::string smallJpeg() {
    Image image(16, 8);
    for (int y = 0; y < image.pixelHeight(); ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(image.data() + static_cast<std::size_t>(y) * image.stride());
        for (int x = 0; x < image.pixelWidth(); ++x) {
            auto shade = static_cast<std::uint32_t>(x * 15);
            row[x] = 0xFF000000u | shade << 16 | shade << 8 | shade;
        }
    }
    return image.jpegData(0.9);
}

namespace {

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void appendChunk(std::string& out, const char* type, const std::string& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    out += typed;
    appendBigEndian(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                          static_cast<uInt>(typed.size()))));
}

}  // namespace

std::string pngOfSize(std::uint32_t width, std::uint32_t height) {
    std::string header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace

    // Rows of zeros, compressed row by row so that the raw image never exists in memory.
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    std::vector<unsigned char> row(1 + static_cast<size_t>(width) * 3, 0);
    std::string compressed;
    unsigned char out[64 * 1024];
    for (std::uint32_t y = 0; y <= height; ++y) {
        bool last = y == height;
        stream.next_in = last ? nullptr : row.data();
        stream.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            stream.next_out = out;
            stream.avail_out = sizeof out;
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(reinterpret_cast<char*>(out), sizeof out - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);

    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", "");
    return png;
}

std::string jpegDeclaring(std::uint16_t width, std::uint16_t height) {
    auto jpeg = smallJpeg();
    // The start-of-frame segment: marker, length, precision, then height and width.
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && static_cast<unsigned char>(jpeg[i + 1]) == 0xC0) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

}  // namespace zorlet::sandbox::test
