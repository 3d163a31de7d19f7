#include "ui/Presenter.h"

#include "core/ApplyWallpaper.h"
#include "storage/ListFile.h"

namespace scenewright {

void Presenter::OnAddClick() {
  const std::vector<std::string> paths = view_.ChooseFiles(FileChooserRequest{});
  if (paths.empty()) return;  // cancelled, failed or nothing picked: the list file stays
  for (const auto& path : paths) {
    AddPath(path);
    // Between the entries of a multiple selection, ticks and clicks get their turn.
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

void Presenter::SaveList() { scenewright::SaveList(services_.files, dataFiles_.list, list_); }

}  // namespace scenewright
