// The in-memory registry of one Windows machine: the machine tree
// (HKEY_LOCAL_MACHINE) and the users tree (HKEY_USERS), the link keys and
// views of ViewMapping, hive files that LoadKey can mount under HKEY_USERS
// or HKEY_LOCAL_MACHINE, and the knobs tests use to make keys refuse
// access or writes fail.
//
// Locking: one shared mutex guards the trees. Readers (opening keys,
// enumerating, reading values) hold it shared, writers exclusively. The
// public knob and hive functions lock by themselves; the functions in the
// last section are for SnapshotRegistry and expect the caller to hold the
// lock (shared or exclusive as noted).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "platform/Text.h"
#include "platform/snapshot/KeyNode.h"
#include "platform/snapshot/ViewMapping.h"

namespace kelvara::platform {

// The SID HKEY_CURRENT_USER maps to unless the caller names another.
inline constexpr wchar_t kDefaultUserSid[] = L"S-1-5-21-3623811015-3361044348-30300820-1001";

// Extra result codes of the store besides those of RegistryApi.h.
inline constexpr long kErrorSharingViolation = 32;
inline constexpr long kErrorNotSupported = 50;
inline constexpr long kErrorBadPathname = 161;
inline constexpr long kErrorAlreadyExists = 183;

// The key a path leads to. In the merged classes view `node` is the
// user's key when it exists (values are read and written there), and
// `merged` the machine's key of the same path when both exist (sub-keys
// are enumerated as the union of both).
struct KeyRef {
  KeyNode* node = nullptr;
  KeyNode* merged = nullptr;
  [[nodiscard]] explicit operator bool() const noexcept { return node != nullptr; }
};

class RegistryStore {
 public:
  // `is64BitWindows` keeps a 32-bit view apart from the 64-bit one.
  explicit RegistryStore(const std::wstring& userSid = kDefaultUserSid, bool is64BitWindows = true);
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;
  ~RegistryStore();

  [[nodiscard]] const std::u16string& UserSid() const noexcept { return userSid_; }
  [[nodiscard]] bool Is64BitWindows() const noexcept { return is64_; }

  // Test knobs on an existing key (64-bit view, links applied); code 2
  // when the key is missing. "Reads refused": every open of the key gives
  // code 5. "Writes refused": opening it with any right beyond reading,
  // creating sub-keys under it, deleting it or its values gives code 5.
  long SetReadsRefused(HKey root, const std::wstring& subKey, bool refused);
  long SetWritesRefused(HKey root, const std::wstring& subKey, bool refused);
  // After `successfulWrites` more writes (creating a key, setting or
  // deleting a value, deleting a key), every write fails with `code`
  // (for example 29 write fault or 112 disk full) until cleared.
  void FailWritesAfter(std::uint32_t successfulWrites, long code);
  void ClearWriteFault();

  // Registers the hive LoadKey mounts for `fileName` (compared without
  // regard to case); a null tree registers an empty hive. Code 32 when a
  // hive of that name is loaded at the moment.
  long RegisterHiveFile(const std::wstring& fileName, std::unique_ptr<KeyNode> tree = nullptr);
  // Takes a key and everything below it out of the tree, for example to
  // register a tree read from an export as another user's hive. Code 2
  // when missing, 5 for a loaded hive (use UnLoadKey) or while a handle
  // below it is open, 87 for a root.
  long DetachTree(HKey root, const std::wstring& subKey, std::unique_ptr<KeyNode>& tree);

  // ---- For SnapshotRegistry -------------------------------------------
  [[nodiscard]] std::shared_lock<std::shared_mutex> LockShared() const { return std::shared_lock(mutex_); }
  // Exclusive; also frees deleted keys whose last handle has been closed.
  [[nodiscard]] std::unique_lock<std::shared_mutex> LockExclusive();

  // Applies the links and, when `view32` and the system is 64-bit, the
  // 32-bit view to a full path. Shared lock.
  void Canonicalize(KeyPath& path, bool view32) const;
  // The key of a canonical path, or an empty reference. Shared lock.
  [[nodiscard]] KeyRef Find(const KeyPath& path) const;
  // Creates what is missing along a canonical path. Exclusive lock.
  long Create(const KeyPath& path, KeyRef& result);
  // Deletes the key of a canonical path when it has no sub-keys; a key
  // with open handles is kept until they close (marked deleted).
  // Exclusive lock.
  long Delete(const KeyPath& path);
  // Mounts / unmounts a hive as a direct sub-key of HKLM or HKU.
  // Exclusive lock.
  long Load(KeyBase base, const std::u16string& name, const std::wstring& fileName);
  long Unload(KeyBase base, const std::u16string& name);

  // Counts one write; the fault code when writes are failing, else 0.
  // Exclusive lock; call it once every other check has passed.
  long ConsumeWrite();
  // Records a change of `node` (last-write time; sub-key lists changed).
  void Touch(KeyNode& node, bool structural);
  // Changes whenever any sub-key list changes; cached merged listings
  // compare it. Shared lock.
  [[nodiscard]] std::uint64_t Generation() const noexcept { return generation_; }

 private:
  [[nodiscard]] KeyNode& BaseRoot(KeyBase base) const;
  [[nodiscard]] std::uint32_t CurrentControlSet() const;
  long SetFlag(HKey root, const std::wstring& subKey, KeyNode::Flag flag, bool on);
  long CreateChild(KeyNode& parent, std::u16string_view name, KeyNode*& child);
  long CreateAlong(KeyNode& from, const std::vector<std::u16string>& parts, std::size_t first, KeyNode*& result);
  long CreateClasses(const KeyPath& path, KeyRef& result);
  // The parent of the key Delete removes, and that key.
  void FindForDelete(const KeyPath& path, KeyNode*& parent, KeyNode*& target) const;

  struct HiveFile {
    std::unique_ptr<KeyNode> tree;  // null while mounted
    KeyNode* mounted = nullptr;
  };

  std::u16string userSid_;
  bool is64_;
  mutable std::shared_mutex mutex_;
  std::unique_ptr<KeyNode> machine_;
  std::unique_ptr<KeyNode> users_;
  // Deleted keys that open handles still refer to.
  std::vector<std::unique_ptr<KeyNode>> deleted_;
  std::map<std::wstring, HiveFile, TextLess> hives_;
  std::uint64_t generation_ = 0;
  bool faultArmed_ = false;
  std::uint32_t writesLeft_ = 0;
  long faultCode_ = 0;
};

}  // namespace kelvara::platform
