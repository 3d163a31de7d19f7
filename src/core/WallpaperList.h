#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenewright {

// Picture paths in insertion order, duplicates allowed, exactly as added or read.
// Counts and indexes are 16-bit, so it holds at most kMaxEntries.
class WallpaperList {
 public:
  static constexpr std::int16_t kMaxEntries = 32767;

  std::int16_t Count() const { return static_cast<std::int16_t>(entries_.size()); }
  bool Full() const { return entries_.size() >= static_cast<std::size_t>(kMaxEntries); }
  const std::string& At(std::int16_t index) const { return entries_[static_cast<std::size_t>(index)]; }
  const std::vector<std::string>& Entries() const { return entries_; }

  // False, and nothing added, once the list is full.
  bool Add(std::string path) {
    if (Full()) return false;
    entries_.push_back(std::move(path));
    return true;
  }
  void RemoveAt(std::int16_t index) { entries_.erase(entries_.begin() + index); }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::string> entries_;
};

}  // namespace scenewright
