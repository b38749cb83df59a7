#include "platform/snapshot/KeyNode.h"

#include <algorithm>

namespace kelvara::platform {

KeyNode::KeyNode(std::u16string_view name) : name_(name) {}

std::vector<std::unique_ptr<KeyNode>>::const_iterator KeyNode::LowerBound(std::u16string_view name) const noexcept {
  return std::lower_bound(
      children_.begin(), children_.end(), name,
      [](const std::unique_ptr<KeyNode>& child, std::u16string_view n) { return CompareNames(child->Name(), n) < 0; });
}

KeyNode* KeyNode::FindChild(std::u16string_view name) const noexcept {
  auto it = LowerBound(name);
  if (it == children_.end() || CompareNames((*it)->Name(), name) != 0) return nullptr;
  return it->get();
}

KeyNode& KeyNode::AddChild(std::u16string_view name) { return AdoptChild(std::make_unique<KeyNode>(name)); }

KeyNode& KeyNode::AdoptChild(std::unique_ptr<KeyNode> child) {
  KeyNode& added = *child;
  // Exports list sub-keys in order, so most additions append.
  if (children_.empty() || CompareNames(children_.back()->Name(), added.Name()) < 0) {
    children_.push_back(std::move(child));
  } else {
    children_.insert(LowerBound(added.Name()), std::move(child));
  }
  return added;
}

std::unique_ptr<KeyNode> KeyNode::TakeChild(const KeyNode& child) {
  auto it = LowerBound(child.Name());
  if (it == children_.end() || it->get() != &child) return nullptr;
  std::unique_ptr<KeyNode> taken = std::move(children_[static_cast<std::size_t>(it - children_.begin())]);
  children_.erase(it);
  return taken;
}

const ValueEntry* KeyNode::FindValue(std::u16string_view name) const noexcept {
  for (const ValueEntry& value : values_) {
    if (SameName(value.Name(), name)) return &value;
  }
  return nullptr;
}

void KeyNode::SetValue(std::u16string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
  for (ValueEntry& value : values_) {
    if (SameName(value.Name(), name)) {
      // The stored name keeps the case it was first written with.
      value = ValueEntry(value.Name(), type, data, size);
      return;
    }
  }
  values_.emplace_back(name, type, data, size);
}

bool KeyNode::RemoveValue(std::u16string_view name) {
  auto it = std::find_if(values_.begin(), values_.end(),
                         [name](const ValueEntry& value) { return SameName(value.Name(), name); });
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

bool KeyNode::IsTreePinned() const noexcept {
  if (IsPinned()) return true;
  return std::any_of(children_.begin(), children_.end(),
                     [](const std::unique_ptr<KeyNode>& child) { return child->IsTreePinned(); });
}

}  // namespace kelvara::platform
