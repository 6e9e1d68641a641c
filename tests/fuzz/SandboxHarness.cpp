#include "SandboxHarness.h"

#include "sandbox/Accounts.h"
#include "sandbox/Passwords.h"
#include "sandbox/ServiceRoutes.h"

#include "platform/Log.h"

#include <cstdlib>
#include <filesystem>

namespace zorlet::sandbox::fuzz {

namespace {

// A request in memory; the answer is read only for its status line.
class MemoryStream : public httplib::Stream {
public:
    explicit MemoryStream(std::string_view input) : input_(input) {}

    bool is_readable() const override { return offset_ < input_.size(); }
    bool is_writable() const override { return true; }
    ssize_t read(char* ptr, size_t size) override {
        size_t count = std::min(size, input_.size() - offset_);
        std::copy_n(input_.data() + offset_, count, ptr);
        offset_ += count;
        return static_cast<ssize_t>(count);
    }
    ssize_t write(const char* ptr, size_t size) override {
        if (output_.size() < 64) {
            output_.append(ptr, std::min(size, 64 - output_.size()));
        }
        return static_cast<ssize_t>(size);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip = "127.0.0.1";
        port = 40000;
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        ip = "127.0.0.1";
        port = 8080;
    }
    socket_t socket() const override { return INVALID_SOCKET; }

    int status() const {
        // "HTTP/1.1 200 OK"
        if (output_.size() < 12 || output_.compare(0, 5, "HTTP/") != 0) {
            return 0;
        }
        return std::atoi(output_.c_str() + 9);
    }

private:
    std::string_view input_;
    size_t offset_ = 0;
    std::string output_;
};

}  // namespace

bool SandboxHarness::MemoryServer::serve(httplib::Stream& stream) {
    bool closed = false;
    return process_request(stream, true, closed, [](httplib::Request&) {});
}

SandboxHarness& SandboxHarness::shared() {
    static SandboxHarness harness;
    return harness;
}

SandboxHarness::SandboxHarness() {
    zorlet::log().set_level(spdlog::level::off);
    Passwords::initialize();
    folder_ = (std::filesystem::temp_directory_path() / ("zorlet-fuzz-" + Passwords::randomHex(6))).string();
    std::filesystem::create_directories(std::filesystem::path(folder_) / "pictures");
    auto database = Database::open(folder_ + "/sandbox.db");
    if (!database) {
        std::abort();
    }
    database_ = std::move(*database);
    sessions_ = std::make_unique<Sessions>(*database_);
    pictures_ = std::make_unique<Pictures>(std::filesystem::path(folder_) / "pictures");
    reference_ = std::make_unique<ReferenceData>(ReferenceData::load(ZORLET_RESOURCES_DIR));
    logins_ = std::make_unique<LoginThrottle>(LoginThrottle::Limits{1000000, 1000000, 1});
    SandboxOptions options;
    options.databasePath = folder_ + "/sandbox.db";
    options.passwordCost = Passwords::Cost::Minimum;
    context_ = std::unique_ptr<ServiceContext>(
        new ServiceContext{options, *database_, *sessions_, *pictures_, *reference_, *logins_, 8080});
    ServiceRoutes::configure(http_);
    routes_ = std::make_unique<Routes>(http_, *context_);
    ServiceRoutes::install(*routes_, nullptr);

    database_->write([&](Connection& connection) {
        NewUser user;
        user.account = "fuzz@example.com";
        user.passwordHash = Passwords::hash("fuzzpass", Passwords::Cost::Minimum);
        user.nickname = "模糊测试";
        user.gender = 1;
        user.cityId = 1;
        user.hasGuided = true;
        auto uid = Accounts::create(connection, user);
        auto tokens = sessions_->open(connection, uid);
        cookie_ = "p_token=" + tokens.pToken + "; l_token=" + tokens.lToken;
    });
}

SandboxHarness::~SandboxHarness() {
    routes_.reset();
    context_.reset();
    database_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

int SandboxHarness::serve(std::string_view request) {
    MemoryStream stream(request);
    http_.serve(stream);
    return stream.status();
}

}  // namespace zorlet::sandbox::fuzz
