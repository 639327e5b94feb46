#pragma once
// A value or the reason there is none. Lower layers return these; one place reports them.
#include <optional>
#include <string>
#include <utility>

namespace vk930 {

struct Error {
    std::string message;
};

template <class T>
class Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error error) : error_(std::move(error.message)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T& operator*() { return *value_; }
    T* operator->() { return &*value_; }
    const std::string& error() const { return error_; }

  private:
    std::optional<T> value_;
    std::string error_;
};

// For operations that return nothing but may fail.
class Status {
  public:
    Status() = default;
    Status(Error error) : error_(std::move(error.message)), failed_(true) {}
    static Status Ok() { return {}; }
    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return error_; }

  private:
    std::string error_;
    bool failed_ = false;
};

}  // namespace vk930
