#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace platform {

// A strong reference to a reference-counted runtime object (retain on copy,
// release on destruction), the C++ form of an Objective-C strong pointer.
// Built from a raw pointer it retains, as assigning to a strong variable
// does; adopt() takes over a reference that is already owned (a fresh object).
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  Ref(T* p) : ptr_(p) { retainIfSet(); }
  Ref(const Ref& other) : ptr_(other.ptr_) { retainIfSet(); }
  Ref(Ref&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : ptr_(other.get()) {
    retainIfSet();
  }
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(Ref<U>&& other) noexcept : ptr_(other.leak()) {}
  ~Ref() { releaseIfSet(); }

  Ref& operator=(const Ref& other) {
    Ref(other).swap(*this);
    return *this;
  }
  Ref& operator=(Ref&& other) noexcept {
    Ref(std::move(other)).swap(*this);
    return *this;
  }
  Ref& operator=(std::nullptr_t) {
    Ref().swap(*this);
    return *this;
  }

  // Takes over one reference already owned by the caller (no retain).
  static Ref adopt(T* p) {
    Ref r;
    r.ptr_ = p;
    return r;
  }
  // Gives up the reference without releasing it; the caller now owns it.
  T* leak() { return std::exchange(ptr_, nullptr); }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T& operator*() const { return *ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  operator T*() const { return ptr_; }
  void swap(Ref& other) noexcept { std::swap(ptr_, other.ptr_); }

 private:
  void retainIfSet() {
    if (ptr_) ptr_->retain();
  }
  void releaseIfSet() {
    if (ptr_) ptr_->release();
  }
  T* ptr_ = nullptr;
};

}  // namespace platform
