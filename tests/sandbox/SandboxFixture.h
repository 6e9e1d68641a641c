#pragma once

#include "sandbox/SandboxServer.h"
#include "sandbox/TestControl.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace zorlet::sandbox::test {

struct Answer {
    int status = 0;
    nlohmann::json body;
    std::string text;
    httplib::Headers headers;

    bool success() const { return body.is_object() && body.value("success", false) == true; }
    std::string errorInfo() const {
        return body.is_object() ? body.value("errorInfo", std::string()) : std::string();
    }
    const nlohmann::json& result() const { return body.at("result"); }
};

// A client of the sandbox over real HTTP that keeps the cookies the service sets.
class ApiClient {
public:
    explicit ApiClient(int port) : http_("127.0.0.1", port) { http_.set_read_timeout(30, 0); }
    // One connection for all requests, as the client's transport reuses connections.
    void keepAlive() { http_.set_keep_alive(true); }

    Answer get(const std::string& path, const httplib::Params& params = {});
    Answer post(const std::string& path, const httplib::Params& params = {});
    Answer postMultipart(const std::string& path, const httplib::MultipartFormDataItems& items);
    // Signs in with account and password; fails the test when refused.
    nlohmann::json signIn(const std::string& account, const std::string& password);

    std::map<std::string, std::string> cookies;
    // Sent with every request besides the cookies.
    httplib::Headers headers;

private:
    Answer finish(const httplib::Result& result);
    httplib::Headers requestHeaders() const;
    httplib::Client http_;
};

// A fresh sandbox per test, in a temporary folder, with cheap password hashing.
class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    virtual bool seedDemo() const { return false; }

    TestControl& control() { return server_->testControl(); }
    int port() const { return server_->port(); }
    // A client of the test control's HTTP paths, sending the run's secret.
    ApiClient admin() const;
    // A signed-in client of a new user (position optional); returns its uid through `uid`.
    std::unique_ptr<ApiClient> newSignedInUser(const std::string& nickname, std::int64_t* uid = nullptr,
                                               std::optional<double> longitude = {},
                                               std::optional<double> latitude = {}, int gender = 1);

    std::filesystem::path folder_;
    std::unique_ptr<SandboxServer> server_;
    int createdUsers_ = 0;
};

class DemoSandboxTest : public SandboxTest {
protected:
    bool seedDemo() const override { return true; }
};

// Test pictures.
std::string smallPng();
std::string smallJpeg();
// A valid black PNG of any size: a few hundred kilobytes that decode to width * height * 4 bytes.
std::string pngOfSize(std::uint32_t width, std::uint32_t height);
// A small JPEG whose header declares another size.
std::string jpegDeclaring(std::uint16_t width, std::uint16_t height);

}  // namespace zorlet::sandbox::test
