#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace zorlet {

namespace {

std::string errnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

std::string temporaryName(const std::filesystem::path& path) {
    static thread_local std::mt19937_64 random(std::random_device{}());
    return path.string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000000);
}

}  // namespace

std::string AtomicFile::write(const std::filesystem::path& path, std::string_view bytes, int mode) {
    std::error_code error;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            return "cannot create folder " + path.parent_path().string() + ": " + error.message();
        }
    }
    std::string temporary = temporaryName(path);
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        return errnoText("cannot create temporary file");
    }
    // open() is subject to the umask; the caller's mode (0600 for secrets) must hold exactly.
    ::fchmod(fd, static_cast<mode_t>(mode));
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::string why = errnoText("cannot write");
            ::close(fd);
            ::unlink(temporary.c_str());
            return why;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0) {
        std::string why = errnoText("cannot flush");
        ::close(fd);
        ::unlink(temporary.c_str());
        return why;
    }
    ::close(fd);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        std::string why = errnoText("cannot replace file");
        ::unlink(temporary.c_str());
        return why;
    }
    // Make the rename itself durable.
    auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

std::optional<std::string> AtomicFile::read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return buffer.str();
}

}  // namespace zorlet
