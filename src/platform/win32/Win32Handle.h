// One owner type for every kind of Win32 handle the backend holds. A kind is
// described by a small traits record: its handle type, its empty value(s)
// and how it is released. Attaching a new handle always releases the old
// one first, so no handle is ever leaked or closed twice.
#pragma once

#include <windows.h>

#include <utility>

namespace kelvara::platform::win32 {

template <typename Traits>
class Win32Handle {
 public:
  using Handle = typename Traits::Handle;

  Win32Handle() noexcept = default;
  explicit Win32Handle(Handle handle) noexcept : handle_(handle) {}
  Win32Handle(const Win32Handle&) = delete;
  Win32Handle& operator=(const Win32Handle&) = delete;
  Win32Handle(Win32Handle&& other) noexcept : handle_(other.release()) {}
  Win32Handle& operator=(Win32Handle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Win32Handle() { reset(); }

  [[nodiscard]] Handle get() const noexcept { return handle_; }
  [[nodiscard]] explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

  // Releases the current handle and hands out the slot for an API that
  // returns a new handle through an out parameter.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }
  Handle release() noexcept { return std::exchange(handle_, Traits::Empty()); }
  void reset(Handle handle = Traits::Empty()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Empty();
};

struct KeyTraits {
  using Handle = HKEY;
  static HKEY Empty() noexcept { return nullptr; }
  static bool IsValid(HKEY h) noexcept { return h != nullptr; }
  static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};

// Kernel objects: both null and INVALID_HANDLE_VALUE mean "no handle",
// depending on the function that produced it.
struct KernelTraits {
  using Handle = HANDLE;
  static HANDLE Empty() noexcept { return nullptr; }
  static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};

struct FindTraits {
  using Handle = HANDLE;
  static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};

// Memory the system allocated with LocalAlloc on the caller's behalf.
template <typename T>
struct LocalMemoryTraits {
  using Handle = T;
  static T Empty() noexcept { return nullptr; }
  static bool IsValid(T p) noexcept { return p != nullptr; }
  static void Close(T p) noexcept { ::LocalFree(reinterpret_cast<HLOCAL>(p)); }
};

// A SID built by AllocateAndInitializeSid.
struct AllocatedSidTraits {
  using Handle = PSID;
  static PSID Empty() noexcept { return nullptr; }
  static bool IsValid(PSID p) noexcept { return p != nullptr; }
  static void Close(PSID p) noexcept { ::FreeSid(p); }
};

template <typename Interface>
struct ComTraits {
  using Handle = Interface*;
  static Interface* Empty() noexcept { return nullptr; }
  static bool IsValid(Interface* p) noexcept { return p != nullptr; }
  static void Close(Interface* p) noexcept { p->Release(); }
};

using KeyHandle = Win32Handle<KeyTraits>;
using KernelHandle = Win32Handle<KernelTraits>;
using FindHandle = Win32Handle<FindTraits>;
template <typename T>
using LocalMemory = Win32Handle<LocalMemoryTraits<T>>;
using AllocatedSid = Win32Handle<AllocatedSidTraits>;
template <typename Interface>
using ComPtr = Win32Handle<ComTraits<Interface>>;

}  // namespace kelvara::platform::win32
