#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenewright {

// Picture paths in insertion order, duplicates allowed, exactly as added or read.
// Counts and indexes are 16-bit, so it holds at most kMaxEntries. Lines of a longer list
// file are kept beyond that limit, unseen, so that saving the list never drops them.
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
  void Clear() {
    entries_.clear();
    overflow_.clear();
    fileUnreadable_ = false;
  }

  void KeepBeyondLimit(std::string path) { overflow_.push_back(std::move(path)); }
  const std::vector<std::string>& Overflow() const { return overflow_; }

  // The list file was there but could not be read: it holds entries this list does not, so
  // it is never replaced during this run.
  void MarkFileUnreadable() { fileUnreadable_ = true; }
  bool FileUnreadable() const { return fileUnreadable_; }

 private:
  std::vector<std::string> entries_;
  std::vector<std::string> overflow_;
  bool fileUnreadable_ = false;
};

}  // namespace scenewright
