// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cerrno>
#include <optional>
#include <type_traits>
#include <utility>

namespace trx::platform {

// The errno value that kept a call from succeeding; never 0 (a 0 given is taken as EIO).
struct Failure {
    explicit Failure(int code) : Code(code != 0 ? code : EIO) {}
    int Code;
};

// The value a file-system call made, or the errno value that kept it from making one. Asking a failed
// result for its value is a programming error (the optional's checks catch it in the checked build).
template <class T>
class [[nodiscard]] Result {
public:
    // NOLINTNEXTLINE: a value (or what makes one, a pointer to a derived class say) is a successful result
    template <class U = T>
    requires(std::is_constructible_v<T, U&&> && !std::is_same_v<std::remove_cvref_t<U>, Result> &&
             !std::is_same_v<std::remove_cvref_t<U>, Failure>) Result(U&& value)
        : value_(std::forward<U>(value)) {}
    Result(Failure failure) : error_(failure.Code) {}  // NOLINT: so is the failure a failed one

    bool Ok() const { return error_ == 0; }
    explicit operator bool() const { return Ok(); }
    // 0 when the call succeeded.
    int Error() const { return error_; }

    T& operator*() & { return *value_; }
    const T& operator*() const& { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    int error_ = 0;
};

// The outcome of a call that makes nothing.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : error_(failure.Code) {}  // NOLINT: a failure is a failed result

    bool Ok() const { return error_ == 0; }
    explicit operator bool() const { return Ok(); }
    int Error() const { return error_; }

private:
    int error_ = 0;
};

using Status = Result<void>;

// A Status from an errno value, 0 meaning success.
inline Status StatusOf(int error) {
    return error == 0 ? Status() : Status(Failure{error});
}

}  // namespace trx::platform
