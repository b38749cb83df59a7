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

namespace {

// From this many values on a key keeps its value index.
constexpr std::size_t kIndexedValues = 16;

}  // namespace

std::vector<std::uint32_t>::iterator KeyNode::IndexBound(std::u16string_view name) const noexcept {
  return std::lower_bound(
      valueIndex_->begin(), valueIndex_->end(), name,
      [this](std::uint32_t position, std::u16string_view n) { return CompareNames(values_[position].Name(), n) < 0; });
}

std::size_t KeyNode::ValuePosition(std::u16string_view name) const noexcept {
  if (valueIndex_) {
    auto it = IndexBound(name);
    return it != valueIndex_->end() && SameName(values_[*it].Name(), name) ? *it : values_.size();
  }
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (SameName(values_[i].Name(), name)) return i;
  }
  return values_.size();
}

const ValueEntry* KeyNode::FindValue(std::u16string_view name) const noexcept {
  const std::size_t position = ValuePosition(name);
  return position < values_.size() ? &values_[position] : nullptr;
}

void KeyNode::SetValue(std::u16string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
  const std::size_t position = ValuePosition(name);
  if (position < values_.size()) {
    // The stored name keeps the case it was first written with.
    values_[position] = ValueEntry(values_[position].Name(), type, data, size);
    return;
  }
  values_.emplace_back(name, type, data, size);
  const auto added = static_cast<std::uint32_t>(position);
  if (valueIndex_) {
    valueIndex_->insert(IndexBound(values_.back().Name()), added);
  } else if (values_.size() >= kIndexedValues) {
    valueIndex_ = std::make_unique<std::vector<std::uint32_t>>(values_.size());
    for (std::uint32_t i = 0; i < values_.size(); ++i) (*valueIndex_)[i] = i;
    std::sort(valueIndex_->begin(), valueIndex_->end(), [this](std::uint32_t a, std::uint32_t b) {
      return CompareNames(values_[a].Name(), values_[b].Name()) < 0;
    });
  }
}

bool KeyNode::RemoveValue(std::u16string_view name) {
  const std::size_t position = ValuePosition(name);
  if (position == values_.size()) return false;
  if (valueIndex_) {
    valueIndex_->erase(IndexBound(values_[position].Name()));
    for (std::uint32_t& place : *valueIndex_) {
      if (place > position) --place;
    }
  }
  values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(position));
  return true;
}

bool KeyNode::IsTreePinned() const noexcept {
  if (IsPinned()) return true;
  return std::any_of(children_.begin(), children_.end(),
                     [](const std::unique_ptr<KeyNode>& child) { return child->IsTreePinned(); });
}

}  // namespace kelvara::platform
