#include "SandboxFixture.h"

#include "sandbox/AvatarPainter.h"

#include <jpeglib.h>

#include <cstdio>
#include <random>

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
        if (equals == std::string::npos)
            continue;
        auto name = pair.substr(0, equals);
        auto value = pair.substr(equals + 1);
        if (value.empty() || it->second.find("Max-Age=0") != std::string::npos)
            cookies.erase(name);
        else
            cookies[name] = value;
    }
    return answer;
}

httplib::Headers ApiClient::cookieHeader() const {
    std::string text;
    for (const auto& [name, value] : cookies)
        text += (text.empty() ? "" : "; ") + name + "=" + value;
    if (text.empty())
        return {};
    return {{"Cookie", text}};
}

Answer ApiClient::get(const std::string& path, const httplib::Params& params) {
    return finish(http_.Get(path, params, cookieHeader()));
}

Answer ApiClient::post(const std::string& path, const httplib::Params& params) {
    if (params.empty())
        return finish(http_.Post(path, cookieHeader(), "", "application/html;charset=UTF-8;"));
    return finish(http_.Post(path, cookieHeader(), params));
}

Answer ApiClient::postMultipart(const std::string& path, const httplib::MultipartFormDataItems& items) {
    return finish(http_.Post(path, cookieHeader(), items));
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
    std::string error;
    server_ = SandboxServer::start(options, error);
    ASSERT_TRUE(server_) << error;
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
    if (uid)
        *uid = created.value_or(0);
    auto client = std::make_unique<ApiClient>(port());
    client->signIn(user.account, user.password);
    return client;
}

std::string smallPng() {
    return AvatarPainter::avatar(3, false);
}

std::string smallJpeg() {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 16;
    info.image_height = 8;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    unsigned char row[16 * 3];
    for (int x = 0; x < 16 * 3; ++x)
        row[x] = static_cast<unsigned char>(x * 5);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

}  // namespace zorlet::sandbox::test
