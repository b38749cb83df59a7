// One key of the in-memory registry: its name, its sub-keys in the order
// Windows enumerates them (sorted by upper-cased name), its values in the
// order they were first written, and the per-key test knobs. A node knows
// nothing about locking; RegistryStore guards the tree.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/snapshot/KeyName.h"
#include "platform/snapshot/ValueEntry.h"

namespace kelvara::platform {

class KeyNode {
 public:
  explicit KeyNode(std::u16string_view name);
  KeyNode(const KeyNode&) = delete;
  KeyNode& operator=(const KeyNode&) = delete;

  [[nodiscard]] std::u16string_view Name() const noexcept { return name_.View(); }
  // Gives a detached node (a hive root) the name it is mounted under.
  void Rename(std::u16string_view name) { name_ = KeyName(name); }

  [[nodiscard]] std::size_t ChildCount() const noexcept { return children_.size(); }
  [[nodiscard]] KeyNode& ChildAt(std::size_t index) const noexcept { return *children_[index]; }
  [[nodiscard]] KeyNode* FindChild(std::u16string_view name) const noexcept;
  // Adds a sub-key; the name must not be present yet.
  KeyNode& AddChild(std::u16string_view name);
  // Inserts a detached tree as a sub-key under its own name (absent yet).
  KeyNode& AdoptChild(std::unique_ptr<KeyNode> child);
  // Detaches a direct sub-key and hands over its ownership.
  std::unique_ptr<KeyNode> TakeChild(const KeyNode& child);

  [[nodiscard]] std::size_t ValueCount() const noexcept { return values_.size(); }
  [[nodiscard]] const ValueEntry& ValueAt(std::size_t index) const noexcept { return values_[index]; }
  [[nodiscard]] const ValueEntry* FindValue(std::u16string_view name) const noexcept;
  // Writes a value; an existing one keeps its place in the value order.
  void SetValue(std::u16string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size);
  bool RemoveValue(std::u16string_view name);

  [[nodiscard]] std::uint64_t LastWriteTime() const noexcept { return lastWrite_; }
  void SetLastWriteTime(std::uint64_t fileTime) noexcept { lastWrite_ = fileTime; }

  enum Flag : std::uint8_t {
    kReadsRefused = 1,   // every open is refused (access denied)
    kWritesRefused = 2,  // opening for writing, deleting, writing values is refused
    kDeleted = 4,        // removed from the tree while handles still refer to it
    kHiveRoot = 8,       // root of a loaded hive
  };
  [[nodiscard]] bool Has(Flag flag) const noexcept { return (flags_ & flag) != 0; }
  void Set(Flag flag, bool on) noexcept { flags_ = static_cast<std::uint8_t>(on ? (flags_ | flag) : (flags_ & ~flag)); }

  // Open handles that refer to this node; a deleted node stays alive until
  // the last one is closed.
  void Pin() noexcept { pins_.fetch_add(1, std::memory_order_relaxed); }
  void Unpin() noexcept { pins_.fetch_sub(1, std::memory_order_relaxed); }
  [[nodiscard]] bool IsPinned() const noexcept { return pins_.load(std::memory_order_relaxed) != 0; }
  // Whether this node or any node below it is pinned.
  [[nodiscard]] bool IsTreePinned() const noexcept;

 private:
  [[nodiscard]] std::vector<std::unique_ptr<KeyNode>>::const_iterator LowerBound(
      std::u16string_view name) const noexcept;
  // The place of a value in values_, or values_.size() when absent.
  [[nodiscard]] std::size_t ValuePosition(std::u16string_view name) const noexcept;
  [[nodiscard]] std::vector<std::uint32_t>::iterator IndexBound(std::u16string_view name) const noexcept;

  KeyName name_;
  std::vector<std::unique_ptr<KeyNode>> children_;
  std::vector<ValueEntry> values_;
  // Keys with many values (shared DLL lists, installer folders) also
  // keep the values' places sorted by name, so look-ups stay logarithmic.
  std::unique_ptr<std::vector<std::uint32_t>> valueIndex_;
  std::uint64_t lastWrite_ = 0;
  std::atomic<std::uint32_t> pins_{0};
  std::uint8_t flags_ = 0;
};

}  // namespace kelvara::platform
