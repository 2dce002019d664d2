#include "strip/tab_strip.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "platform/tab_strip_view.h"

namespace wendrel {

std::string KeyOf(WindowHandle window) { return "H" + std::to_string(window); }

std::optional<WindowHandle> HandleOfKey(const std::string& key) {
  if (key.size() < 2) return std::nullopt;
  WindowHandle window = 0;
  const char* first = key.data() + 1;
  const char* last = key.data() + key.size();
  const auto [end, error] = std::from_chars(first, last, window);
  if (error != std::errc() || end != last) return std::nullopt;
  return window;
}

TabStrip::TabStrip(ITabStripView& view) : view_(view) {}

const Tab& TabStrip::At(int index) const {
  if (index < 1 || index > Count()) throw std::out_of_range("Index out of bounds");
  return tabs_[static_cast<size_t>(index - 1)];
}

Tab& TabStrip::Mutable(int index) { return const_cast<Tab&>(At(index)); }

int TabStrip::Add() {
  tabs_.emplace_back();
  const int index = Count();
  view_.InsertTab(index);
  if (selected_ == 0) {
    selected_ = index;
    view_.SetSelected(index);
  }
  return index;
}

void TabStrip::Remove(int index) {
  At(index);
  tabs_.erase(tabs_.begin() + (index - 1));
  view_.RemoveTab(index);
  if (tabs_.empty()) {
    selected_ = 0;
    return;
  }
  if (index < selected_) {
    --selected_;
  } else if (index == selected_) {
    selected_ = std::min(index, Count());
    view_.SetSelected(selected_);
  }
}

void TabStrip::RemoveMarked(const std::vector<bool>& marked) {
  const int count = Count();
  if (static_cast<int>(marked.size()) != count) throw std::invalid_argument("one flag per tab");
  auto removed = [&](int index) { return marked[static_cast<size_t>(index - 1)]; };
  int selected = 0;  // the old index of the tab selected afterwards
  if (selected_ != 0) {
    for (int i = selected_; i <= count && selected == 0; ++i) {
      if (!removed(i)) selected = i;
    }
    for (int i = count; i >= 1 && selected == 0; --i) {
      if (!removed(i)) selected = i;
    }
  }
  // From the last tab back, so each removal leaves the indices of those before it unchanged.
  for (int i = count; i >= 1; --i) {
    if (removed(i)) view_.RemoveTab(i);
  }
  int kept = 0;
  int newSelected = 0;
  for (int i = 1; i <= count; ++i) {
    if (removed(i)) continue;
    if (i == selected) newSelected = kept + 1;
    if (kept != i - 1) tabs_[static_cast<size_t>(kept)] = std::move(tabs_[static_cast<size_t>(i - 1)]);
    ++kept;
  }
  tabs_.resize(static_cast<size_t>(kept));
  const bool selectedRemoved = selected_ != 0 && removed(selected_);
  selected_ = newSelected;
  if (selectedRemoved && selected_ != 0) view_.SetSelected(selected_);
}

void TabStrip::SetKey(int index, const std::string& key) { Mutable(index).Key = key; }

void TabStrip::SetTag(int index, const std::string& tag) { Mutable(index).Tag = tag; }

void TabStrip::SetCaption(int index, const std::string& caption) {
  Tab& tab = Mutable(index);
  if (tab.Caption == caption) return;
  tab.Caption = caption;
  view_.SetCaption(index, caption);
}

void TabStrip::SetToolTipText(int index, const std::string& tip) {
  Tab& tab = Mutable(index);
  if (tab.ToolTipText == tip) return;
  tab.ToolTipText = tip;
  view_.SetToolTip(index, tip);
}

WindowHandle TabStrip::HandleAt(int index) const {
  const auto window = HandleOfKey(At(index).Key);
  if (!window) throw std::invalid_argument("Type mismatch");
  return *window;
}

int TabStrip::Find(const std::string& key) const {
  for (int i = 1; i <= Count(); ++i) {
    if (tabs_[static_cast<size_t>(i - 1)].Key == key) return i;
  }
  return 0;
}

void TabStrip::Select(int index) {
  At(index);
  selected_ = index;
  view_.SetSelected(index);
}

TabRect TabStrip::Rectangle(int index) {
  At(index);
  return view_.TabRectangle(index);
}

void TabStrip::SetMultiRow(bool multiRow) { view_.SetMultiRow(multiRow); }

}  // namespace wendrel
