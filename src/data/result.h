#pragma once
// Errors are values until a window shows them: a data-layer call returns either its value or an
// Error carrying a number and a Portuguese text that a message box can show as it stands.
#include <string>
#include <utility>
#include <variant>

namespace saldora {

struct Error {
    int code = 0;
    std::string text;
    // When a lower engine reported the failure: its own number (the text is then the engine's).
    int engineCode = 0;
};

template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() & { return std::get<0>(v_); }
    const T& value() const& { return std::get<0>(v_); }
    T&& value() && { return std::get<0>(std::move(v_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

// For operations that return nothing but may fail.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : error_(std::move(error)), failed_(true) {}
    static Status success() { return {}; }
    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

private:
    Error error_;
    bool failed_ = false;
};

} // namespace saldora
