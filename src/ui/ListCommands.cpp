#include "ui/Presenter.h"

#include <algorithm>

#include "core/ApplyWallpaper.h"
#include "platform/AsciiText.h"
#include "storage/ListFile.h"

namespace scenewright {

namespace {

// Name order as a file manager shows it by default: letters compared without their case.
bool NameOrder(const std::string& a, const std::string& b) {
  const auto lower = [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  };
  if (SameIgnoringCase(a, b)) return a < b;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lower);
}

}  // namespace

void Presenter::OnAddClick() {
  FileChooserRequest request;
  // The second entry: every kind the loader reads beyond the first entry's.
  FileFilter others{"Other pictures", {}};
  const auto& first = request.filters.front().patterns;
  for (const std::string& pattern : services_.pictures.FilePatterns()) {
    const auto same = [&](const std::string& known) { return SameIgnoringCase(known, pattern); };
    if (std::none_of(first.begin(), first.end(), same) &&
        std::none_of(others.patterns.begin(), others.patterns.end(), same)) {
      others.patterns.push_back(pattern);
    }
  }
  if (!others.patterns.empty()) request.filters.push_back(std::move(others));
  AddPaths(view_.ChooseFiles(request));
}

void Presenter::OnListDrop(const std::vector<std::string>& paths) {
  // A folder gives the pictures directly inside it; anything the loader would refuse is left out.
  std::vector<std::string> pictures;
  for (const std::string& path : paths) {
    std::vector<std::string> inside = services_.files.FilesInFolder(path).value_or(std::vector{path});
    std::sort(inside.begin(), inside.end(), NameOrder);
    for (std::string& file : inside) {
      if (services_.pictures.IsPicture(file)) pictures.push_back(std::move(file));
    }
  }
  AddPaths(pictures);
}

void Presenter::AddPaths(const std::vector<std::string>& paths) {
  if (paths.empty()) return;  // cancelled, failed or nothing picked: the list file stays
  for (const auto& path : paths) {
    AddPath(path);
    // Between several entries, ticks and clicks get their turn.
    if (paths.size() > 1) view_.ProcessPendingEvents();
  }
  SaveList();
}

void Presenter::AddPath(std::string path) {
  // Past the 16-bit limit further picks are dropped; what was added is still saved.
  if (list_.Full()) return;
  view_.ShowListAppend(path);
  list_.Add(std::move(path));
}

void Presenter::OnRemoveClick() {
  if (selection_ > -1 && selection_ < list_.Count()) {
    const auto old = static_cast<std::int16_t>(selection_);
    list_.RemoveAt(old);
    view_.ShowListRemove(old);
    selection_ = -1;
    if (list_.Count() <= old) {
      if (list_.Count() > 0) Select(list_.Count() - 1);
    } else {
      Select(old);
    }
  }
  SaveList();
}

void Presenter::OnListClick(int selectedIndex) {
  selection_ = selectedIndex;
  Preview();
}

void Presenter::OnListDoubleClick() {
  if (selection_ < 0 || selection_ >= list_.Count()) return;
  state_.currentindex = static_cast<std::int16_t>(selection_);
  state_.elapsed = 0;
  ApplyWallpaper(list_.At(state_.currentindex), services_.pictures, services_.desktop);
}

void Presenter::Select(int index) {
  selection_ = index;
  view_.ShowListSelection(index);
  Preview();  // as the list's own click does
}

void Presenter::Preview() {
  if (selection_ < 0 || selection_ >= list_.Count()) return;
  view_.ShowPreview(list_.At(static_cast<std::int16_t>(selection_)));
}

void Presenter::OnFilesLeftOut(const std::vector<std::string>& names) {
  // One box for the whole pick or drop, however many; a few names say which.
  constexpr std::size_t kShown = 10;
  std::string text =
      "These files were not added: their names hold characters this system's code page lacks, and "
      "they have no short name to go by.\n";
  for (std::size_t i = 0; i < names.size() && i < kShown; ++i) text += "\n" + names[i];
  if (names.size() > kShown) text += "\n(and " + std::to_string(names.size() - kShown) + " more)";
  ShowError(text);
}

void Presenter::SaveList() { scenewright::SaveList(services_.files, dataFiles_.list, list_); }

}  // namespace scenewright
