#include "ui/Presenter.h"

#include "core/ApplyWallpaper.h"
#include "storage/ListFile.h"

namespace scenewright {

namespace {

// The Windows dialog's answer: one full path, or the folder and then each name, NUL-separated.
std::vector<std::string> SplitAtNul(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t stop = text.find('\0', start);
    parts.push_back(text.substr(start, stop - start));
    if (stop == std::string::npos) break;
    start = stop + 1;
  }
  return parts;
}

}  // namespace

void Presenter::OnAddClick() {
  const OpenDialogResult picked = view_.RunOpenDialog(OpenDialogRequest{});
  if (!picked.ok) return;
  if (!picked.paths.empty()) {
    for (const auto& path : picked.paths) {
      AddPath(path);
      view_.ProcessPendingEvents();
    }
  } else {
    if (picked.text.empty()) return;
    const std::vector<std::string> parts = SplitAtNul(picked.text);
    if (parts.size() == 1) {
      AddPath(parts[0]);
    } else {
      for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].empty()) continue;  // the list's closing NUL, if a dialog leaves it in
        AddPath(parts[0] + '\\' + parts[i]);
        view_.ProcessPendingEvents();
      }
    }
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

void Presenter::SaveList() { scenewright::SaveList(services_.files, dataFiles_.list, list_); }

}  // namespace scenewright
