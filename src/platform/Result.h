#pragma once

#include <cassert>
#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace zorlet {

// Why something could not be done, in words for the log or for the person at
// the screen. It stands where the value would have been:
//
//     if (!file) {
//         return Failure{"cannot read " + path.string()};
//     }
struct Failure {
    std::string message;
};

// What an operation that can fail gives back: its value, or the failure that
// took the value's place. Callers test it before they read it:
//
//     auto flow = FlowParser::parseFile(path);
//     if (!flow) {
//         std::cerr << flow.error();
//     }
//
// Reading the value of a failure is a programming error.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure.message)) {}
    // An empty pointer is not a value; a function that has none says why with a Failure.
    Result(std::nullptr_t) = delete;

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return *held(); }
    const T& value() const& { return *held(); }
    T&& value() && { return std::move(*held()); }
    T& operator*() & { return *held(); }
    const T& operator*() const& { return *held(); }
    T&& operator*() && { return std::move(*held()); }
    T* operator->() { return held(); }
    const T* operator->() const { return held(); }

    // The failure's message; empty for a success.
    const std::string& error() const {
        if (const auto* message = std::get_if<1>(&state_)) {
            return *message;
        }
        static const std::string none;
        return none;
    }

private:
    T* held() {
        assert(ok());
        return std::get_if<0>(&state_);
    }
    const T* held() const {
        assert(ok());
        return std::get_if<0>(&state_);
    }

    // By position, so that a Result<std::string> keeps its value and its failure apart.
    std::variant<T, std::string> state_;
};

// The outcome of an operation with nothing to give back but whether it worked.
// A default-made one is a success (`return {};`).
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), error_(std::move(failure.message)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // The failure's message; empty for a success.
    const std::string& error() const { return error_; }

private:
    bool failed_ = false;
    std::string error_;
};

using Status = Result<void>;

}  // namespace zorlet
