// The one owner of operating-system handles: move-only, closes its handle exactly once.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

// Owns one handle of type T. Close is the function that releases it (called once, never for the
// invalid value); Invalid is the value that means "no handle", given as an integer because a
// Windows sentinel such as INVALID_HANDLE_VALUE is not a constant expression of pointer type.
template <typename T, auto Close, std::intptr_t Invalid> class UniqueHandle {
public:
  static T invalid() noexcept {
    if constexpr (std::is_pointer_v<T>) {
      return reinterpret_cast<T>(Invalid);
    } else {
      return static_cast<T>(Invalid);
    }
  }

  UniqueHandle() noexcept = default;
  // Takes ownership of `value`, which may be the invalid value.
  explicit UniqueHandle(T value) noexcept : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset(other.release());
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  // The handle, still owned by this object; the invalid value when empty.
  T get() const noexcept { return value_; }
  bool valid() const noexcept { return value_ != invalid(); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without closing and returns the handle.
  T release() noexcept { return std::exchange(value_, invalid()); }

  // Closes the owned handle, if any, and takes ownership of `value`.
  void reset(T value = invalid()) noexcept {
    const T old = std::exchange(value_, value);
    if (old != invalid()) {
      Close(old);
    }
  }

private:
  T value_ = invalid();
};
