#!/usr/bin/env bash
# Tests the tests: plants each fault of the table below, one at a time, in a copy of the
# tracked tree, rebuilds what the change touches and runs the tests that should catch it. A
# fault that survives is a test that is missing (or a change nobody could see: the table
# says so beside it). Not part of CI; the README gives its run time.
#
#   tools/mutate.sh [ID|PRESET...]   every fault, or only those named (a preset names all of its)
#
# The copy and its builds stay in build/mutate/, so a second run rebuilds only what changed.
# The Windows faults (two lanes: the end-to-end test's and the rest) and the real desktops'
# faults (two lanes) each run alongside in a copy of their own: they mostly wait (on Wine, on a
# desktop that never shows a fault's wallpaper) while the rest compiles.
# Each fault is one line's exact text: where that text is gone (a refactor), the fault is
# reported "stale" rather than silently passing. The unchanged tree's tests run first; a
# failure there stops everything, since it would make every fault look caught.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# MUTATE_TREE: another copy, so that a second run can go alongside.
tree=${MUTATE_TREE:-$top/build/mutate/tree}
jobs=${JOBS:-2}

# id | file | exact old text (within one line) | new text | preset:ctest regex [| equivalent: why]
table=$(cat <<'EOF'
ahead-taken | src/platform/linux/LinuxPictures.cpp | if (ahead.screen == screen && Unchanged(ahead, path)) return ahead; | if (ahead.screen == screen && Unchanged(ahead, path) && false) return ahead; | linux:^pictures_and_desktop$
ahead-same-screen | src/platform/linux/LinuxPictures.cpp | if (ahead.screen == screen && Unchanged(ahead, path)) return ahead; | if ((void)screen, Unchanged(ahead, path)) return ahead; | linux:^pictures_and_desktop$
ahead-same-file | src/platform/linux/LinuxPictures.cpp | if (ahead.screen == screen && Unchanged(ahead, path)) return ahead; | if (ahead.screen == screen && (Unchanged(ahead, path) || true)) return ahead; | linux:^pictures_and_desktop$
ahead-no-qt | src/platform/linux/LinuxPictures.cpp | if (!mayUseQt) return false; | (void)mayUseQt; | linux:^pictures_and_desktop$
foresee-user-folder | src/storage/DataFiles.cpp | if (HoldsEither(files, own)) return own; | if (false) return own; | linux:^unit_tests$
foresee-fresh-random | src/core/Lifecycle.cpp | UniformRandom random;  // the window's own starts afresh too | UniformRandom random; random.Next(); | linux:^unit_tests$
jpeg-split-shared-row | src/platform/linux/ScreenCover.cpp | for (std::size_t i = 0; i < sums_.size(); ++i) sums_[i] = static_cast<std::uint16_t>(sums_[i] + later.held_[i]); | (void)later.held_; | linux:^pictures_and_desktop$
jpeg-split-shared-row-once | src/platform/linux/ScreenCover.cpp | if (*later.heldRow_ != screenRow_) FinishRow(); | FinishRow(); | linux:^pictures_and_desktop$
jpeg-split-skip | src/platform/linux/BitmapFile.cpp | jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(first)) == static_cast<JDIMENSION>(first)) { | jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(first - 16)) == static_cast<JDIMENSION>(first - 16)) { | linux:^pictures_and_desktop$
spare-one-name | src/platform/linux/LinuxPictures.cpp | if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 || | if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || | linux:^pictures_and_desktop$
spare-cut | src/platform/linux/LinuxPictures.cpp | (!spare || CutToSize(bitmapFd)); | (!spare || CutToSize(-1) || true); | linux:^pictures_and_desktop$
rows-top-down | src/platform/linux/BitmapFile.cpp | static_cast<std::uint64_t>(layout.height - 1 - rowFromTop) * layout.stride | static_cast<std::uint64_t>(rowFromTop) * layout.stride | linux:^pictures_and_desktop$
rows-in-strips | src/platform/linux/BitmapFile.h | return &worker_->Filling()[static_cast<std::size_t>(kRowsABatch - 1 - next_ % kRowsABatch) * layout_.stride]; | return &worker_->Filling()[static_cast<std::size_t>(next_ % kRowsABatch) * layout_.stride]; | linux:^pictures_and_desktop$
rows-top-down-screen | src/platform/linux/BitmapFile.cpp | static_cast<std::uint64_t>(layout.height - 1 - rowFromTop) * layout.stride | static_cast<std::uint64_t>(rowFromTop) * layout.stride | linux:^real_desktop_lxde$
worker-rows-in-order | src/platform/linux/BitmapFile.cpp | for (CoverScaler& scaler : *shared.scalers) scaler.AddRow(used + at); | for (CoverScaler& scaler : *shared.scalers) scaler.AddRow(used + bytes - file.stride - at); | linux:^pictures_and_desktop$
worker-rgb | src/platform/linux/BitmapFile.cpp | for (std::size_t at = 0; shared.rgb && at < bytes; at += file.stride) { | for (std::size_t at = 0; false && at < bytes; at += file.stride) { | linux:^pictures_and_desktop$
worker-batch-in-flight | src/platform/linux/BatchWorker.cpp | changed_.wait(lock, [&] { return failed_ || handed_ - done_ < kBatches; }); | changed_.wait(lock, [&] { return failed_ || handed_ - done_ <= kBatches; }); | linux:^pictures_and_desktop$
worker-last-write | src/platform/linux/BitmapFile.cpp | return worker_->Hand(next_ - inBatch, inBatch) && (next_ < end_ || worker_->Finish()); | return worker_->Hand(next_ - inBatch, inBatch); | linux:^pictures_and_desktop$
tiff-rows-rgb | src/platform/linux/TiffToBitmap.cpp | writer->TakeRgb(); | (void)writer; | linux:^pictures_and_desktop$
gif-buffered-read | src/platform/linux/GifToBitmap.cpp | source->from += part, given += static_cast<int>(part); | given += static_cast<int>(part); | linux:^pictures_and_desktop$
rows-top-down-win32 | src/platform/win32/Win32Pictures.cpp | info.bmiHeader.biHeight = height; | info.bmiHeader.biHeight = -height; | windows:^win32_platform_tests$
unregister-on-save | src/ui/ConfigurationPanel.cpp |     UnregisterStartAtLogon(services_.registry); |     (void)services_.registry; | linux:^end_to_end$
unregister-on-save-win32 | src/ui/ConfigurationPanel.cpp |     UnregisterStartAtLogon(services_.registry); |     (void)services_.registry; | windows:^win32_end_to_end$
next-index | src/core/RotationClock.cpp | static_cast<std::int16_t>(state.currentindex + 1) | static_cast<std::int16_t>(state.currentindex + 2) | linux:^unit_tests$
wrap-at-end | src/core/RotationClock.cpp | state.currentindex >= count - 1 ? 0 | state.currentindex > count - 1 ? 0 | linux:^unit_tests$
random-index | src/core/RotationClock.cpp | std::floor(static_cast<double>(count) * random.Next()) | std::floor(static_cast<double>(count - 1) * random.Next()) | linux:^(unit|soak)_tests$
random-bits | src/core/UniformRandom.cpp | (engine_() >> 8) | (engine_() >> 9) | linux:^(unit|soak)_tests$
index-clamp | src/core/Lifecycle.cpp | if (list.Count() - 1 < state.currentindex) | if (list.Count() < state.currentindex) | linux:^unit_tests$ | equivalent: an index left one past the end still wraps to the first entry at the next change, as the clamped one does; the next start clamps what was saved
index-floor | src/storage/Settings.cpp | std::max<std::int16_t>(index, -1) | std::max<std::int16_t>(index, -2) | linux:^unit_tests$
change-on-start | src/core/Lifecycle.cpp | return state.newonstart == 1 && list.Count() > 0; | return state.newonstart == 0 && list.Count() > 0; | linux:^unit_tests$
register-at-start | src/core/Lifecycle.cpp | if (state.autostart == 1) Run(steps.registerRunValue); | if (state.autostart == 2) Run(steps.registerRunValue); | linux:^unit_tests$
index-at-end | src/core/Lifecycle.cpp | WriteSetting(services.profile, files.settings, kKeyCurrentIndex, state.currentindex); | (void)state, (void)services, (void)files; | linux:^(unit_tests|end_to_end)$
elapsed-units | src/core/RotationClock.cpp | state.elapsed += now - state.lasttick; | state.elapsed += (now - state.lasttick) / 60; | linux:^(unit|soak)_tests$
past-midnight | src/core/RotationClock.cpp | state.lasttick -= kSecondsPerDay; | state.lasttick = now; | linux:^(unit|soak)_tests$
next-button | src/ui/Presenter.cpp | void Presenter::OnNextClick() { RequestNextWallpaper(state_); } | void Presenter::OnNextClick() {} | linux:^unit_tests$
next-with-timed-off | src/core/RotationClock.cpp | if (nextRequested) ApplyDueChange(state, list, services, random); | if (nextRequested && false) ApplyDueChange(state, list, services, random); | linux:^(unit_tests|end_to_end)$
next-with-timed-off-win32 | src/core/RotationClock.cpp | if (nextRequested) ApplyDueChange(state, list, services, random); | if (nextRequested && false) ApplyDueChange(state, list, services, random); | windows:^win32_end_to_end$
countdown | src/core/Countdown.cpp | double tenths = RoundHalfEven(secondsLeft * 10); | double tenths = RoundHalfEven(secondsLeft) * 10; | linux:^unit_tests$
minutes | src/ui/ConfigurationPanel.cpp | return RoundToInt32(*amount * 60); | return RoundToInt32(*amount * 100); | linux:^unit_tests$
hours | src/ui/ConfigurationPanel.cpp | return RoundToInt32(*amount * 3600); | return RoundToInt32(*amount * 60); | linux:^unit_tests$
interval-shown | src/ui/ConfigurationPanel.cpp | if (interval % 3600 == 0) { | if (interval % 3600 == 1) { | linux:^unit_tests$
time-enabling | src/ui/ConfigurationPanel.cpp | for (ControlId id : kIntervalControls) SetEnabled(id, enabled); | for (ControlId id : kIntervalControls) SetEnabled(id, enabled || true); | linux:^unit_tests$
random-shown | src/ui/ConfigurationPanel.cpp | if (state_.random == 1) SetValue(ControlId::chkRandom, 1); | if (state_.random == 1) SetValue(ControlId::chkNewOnStart, 1); | linux:^unit_tests$
key-filter | src/ui/ConfigurationPanel.cpp | if (id != ControlId::txtTime) return true; | if (id == ControlId::txtTime) return true; | linux:^end_to_end$
key-filter-qt | src/ui/qt/MainWindow.cpp | if (code >= 0 && !presenter_.OnKeyPress(ControlId::txtTime, code)) return true; | if (code < 0 && !presenter_.OnKeyPress(ControlId::txtTime, code)) return true; | linux:^end_to_end$
key-filter-win32 | src/ui/win32/MainWindow.cpp | if (message == WM_CHAR) { | if (message == WM_KEYUP) { | windows:^win32_window_tests$
register-machine-wide | src/storage/StartAtLogon.cpp | if (registry.SetRegistryValue(kRunKeyRoot, key, name, data) || | if (registry.SetRegistryValue(RegistryRoot::CurrentUser, key, name, data) || | linux:^unit_tests$
user-value-unneeded | src/storage/StartAtLogon.cpp | registry.HoldsRegistryValue(kRunKeyRoot, key, name, data)) { | registry.HoldsRegistryValue(RegistryRoot::CurrentUser, key, name, data)) { | windows:^win32_platform_tests$
user-value-removed | src/storage/StartAtLogon.cpp | registry.DeleteRegistryValue(RegistryRoot::CurrentUser, std::string(kRunKeyPathForDeleting), name); | (void)name; | windows:^win32_platform_tests$
unregister-both | src/storage/StartAtLogon.cpp | for (const RegistryRoot root : {kRunKeyRoot, RegistryRoot::CurrentUser}) { | for (const RegistryRoot root : {kRunKeyRoot}) { | windows:^win32_platform_tests$
autostart-file-removed | src/platform/linux/AutostartRegistry.cpp | ::unlink(EntryPath(root).c_str()); | (void)EntryPath(root); | linux:^posix_services$
autostart-tryexec | src/platform/linux/AutostartRegistry.cpp | Name=Scenewright\nTryExec=" + StringValue(executablePath) + "\nExec=" + | Name=Scenewright\nExec=" + | linux:^posix_services$
purge-system-entry | resources/debian/postrm |   rm -f "$entry" |   : | linux:^user_folders_and_package$
run-value-deleted | src/platform/win32/Win32Registry.cpp | RegDeleteValueA(key, valueName.c_str()); | (void)valueName; | windows:^win32_platform_tests$
run-value-type | src/platform/win32/Win32Registry.cpp | ok = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, | ok = RegSetValueExA(key, valueName.c_str(), 0, REG_EXPAND_SZ, | windows:^win32_platform_tests$
run-value-spelling | src/platform/win32/Win32Registry.cpp | return lstrcmpiA(ProgramOfCommand(command).c_str(), ProgramOfCommand(other).c_str()) == 0; | return command == other && !ProgramOfCommand(command).empty(); | windows:^win32_platform_tests$
uninstall-ends-only-installed | src/platform/win32/UninstallStep.cpp | if (!image.empty() && win32::SameProgram(image, program)) { | if (!program.empty() && image.ends_with("scenewright.exe")) { | windows:^windows_installer$
uninstall-asks-to-close | src/platform/win32/UninstallStep.cpp |       AskToClose(entry.th32ProcessID); |       (void)AskToClose; | windows:^windows_installer$
uninstall-ends-copies | src/platform/win32/UninstallStep.cpp |   EndCopiesOf(program); |   (void)EndCopiesOf; | windows:^windows_installer$
uninstall-own-run-values | src/platform/win32/UninstallStep.cpp | if (registry.HoldsRegistryValue(root, key, name, program)) registry.DeleteRegistryValue(root, key, name); | if (!program.empty()) registry.DeleteRegistryValue(root, key, name); | windows:^windows_installer$
uninstall-run-values | src/platform/win32/UninstallStep.cpp | if (registry.HoldsRegistryValue(root, key, name, program)) registry.DeleteRegistryValue(root, key, name); | if (program.empty()) registry.DeleteRegistryValue(root, key, name); | windows:^windows_installer$
add-one-pick | src/ui/ListCommands.cpp | if (paths.empty()) return; | if (paths.size() < 2) return; | linux:^unit_tests$
remove-which | src/ui/ListCommands.cpp | list_.RemoveAt(old); | list_.RemoveAt(0); | linux:^unit_tests$
selection-after-remove | src/ui/ListCommands.cpp | if (list_.Count() > 0) Select(list_.Count() - 1); | if (list_.Count() > 0) Select(0); | linux:^unit_tests$
double-click | src/ui/ListCommands.cpp | state_.currentindex = static_cast<std::int16_t>(selection_); | state_.currentindex = 0; | windows:^win32_end_to_end$
key-autostart | src/storage/Settings.h | kKeyAutostart = "autostart"; | kKeyAutostart = "autostar"; | linux:^unit_tests$
key-newonstart | src/storage/Settings.h | kKeyNewOnStart = "newonstart"; | kKeyNewOnStart = "newOnStart"; | linux:^unit_tests$
key-random | src/storage/Settings.h | kKeyRandom = "random"; | kKeyRandom = "randm"; | linux:^unit_tests$
key-interval | src/storage/Settings.h | kKeyInterval = "interval"; | kKeyInterval = "intervall"; | linux:^unit_tests$
key-currentindex | src/storage/Settings.h | kKeyCurrentIndex = "currentindex"; | kKeyCurrentIndex = "current"; | linux:^unit_tests$
list-line-end | src/storage/ListFile.cpp | for (const auto& entry : list.Entries()) text.append(entry).append("\r\n"); | for (const auto& entry : list.Entries()) text.append(entry).append("\n"); | linux:^unit_tests$
list-limit | src/storage/WallpaperList.h | return entries_.size() >= static_cast<std::size_t>(kMaxEntries); | return entries_.size() > static_cast<std::size_t>(kMaxEntries); | linux:^unit_tests$
list-beyond-limit | src/storage/ListFile.cpp | if (!line.content.empty() && !list.Add(std::string(line.content))) list.KeepBeyondLimit(std::string(line.content)); | if (!line.content.empty()) list.Add(std::string(line.content)); | linux:^unit_tests$
unreadable-marked | src/storage/ListFile.cpp | if (files.IsFile(path)) list.MarkFileUnreadable(); | if (!files.IsFile(path)) list.MarkFileUnreadable(); | linux:^unit_tests$
unreadable-kept | src/storage/ListFile.cpp | if (list.FileUnreadable()) return false; | if (list.Count() < 0) return false; | linux:^faults$
atomic-replace | src/platform/linux/PosixFiles.cpp | const int fd = CreateTemporaryBeside(path, temp); | const int fd = ::open((temp = path).c_str(), O_WRONLY|O_CREAT|O_TRUNC|O_CLOEXEC, 0600); | linux:^faults$
atomic-replace-win32 | src/platform/win32/Win32Files.cpp | file.Reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)); | file.Reset(CreateFileA((temp = path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)); | windows:^win32_platform_tests$
portable-own-files | src/storage/DataFiles.cpp | if (HoldsEither(files, beside) && writableBeside()) return beside; | if (false) return beside; | linux:^unit_tests$
portable-own-files-win32 | src/storage/DataFiles.cpp | if (HoldsEither(files, beside) && writableBeside()) return beside; | if (false) return beside; | windows:^win32_end_to_end$
user-folder-choice | src/storage/DataFiles.cpp | if (writableBeside()) return beside; | if (!writableBeside()) return beside; | linux:^unit_tests$
system-folder-kept | src/storage/DataFiles.cpp | const bool mayWriteBeside = program.MayKeepFilesInProgramFolder(); | const bool mayWriteBeside = true; | linux:^unit_tests$
usr-never-written | src/platform/linux/LinuxSystem.cpp | return folder != "/usr" && !folder.starts_with("/usr/"); | return true; | linux:^posix_services$
usr-never-written-package | src/platform/linux/LinuxSystem.cpp | return folder != "/usr" && !folder.starts_with("/usr/"); | return true; | linux:^user_folders_and_package$
user-folder-used | src/storage/DataFiles.cpp | if (HoldsEither(files, own)) { | if (files.IsFile(own.settings) && files.IsFile(own.list)) { | linux:^unit_tests$
presets-both-or-neither | src/platform/linux/PosixFiles.cpp | for (const auto& [file, bytes] : files) ok = ok && ReplaceFileAtomically(staging + "/" + file, bytes, 0600); | for (const auto& [file, bytes] : files) ok = ok && (MakeFolders(folder), ReplaceFileAtomically(folder + "/" + file, bytes, 0600)); | linux:^faults$
presets-leftover-folder | src/platform/linux/PosixFiles.cpp | if (S_ISDIR(st.st_mode)) RemoveLeftoverFolder(leftover); | if (S_ISDIR(st.st_mode)) (void)leftover; | linux:^faults$
preset-unreadable | src/storage/DataFiles.cpp | if (!bytes) return false; | if (!bytes) continue; | linux:^unit_tests$
user-folder-linux | src/platform/linux/LinuxSystem.cpp | return base.empty() ? std::string() : base + "/scenewright"; | return base.empty() ? std::string() : base + "/Scenewright"; | linux:^posix_services$
user-folder-win32 | src/platform/win32/Win32System.cpp | return roaming.empty() ? roaming : roaming + "Scenewright"; | return roaming.empty() ? roaming : roaming + "Scenewrite"; | windows:^win32_end_to_end$
bmp-height | src/platform/Bmp24Header.h | put(22, height, 4);  // positive: rows run bottom-up | put(22, 0 - height, 4); | linux:^pictures_and_desktop$
bmp-height-win32 | src/platform/Bmp24Header.h | put(22, height, 4);  // positive: rows run bottom-up | put(22, 0 - height, 4); | windows:^win32_platform_tests$
bmp-offset | src/platform/Bmp24Header.h | put(10, kBmp24HeaderBytes, 4); | put(10, kBmp24HeaderBytes + 2, 4); | linux:^pictures_and_desktop$
bmp-bits | src/platform/Bmp24Header.h | put(28, 24, 2);      // bits a pixel | put(28, 32, 2); | linux:^pictures_and_desktop$
padding | src/platform/linux/BitmapFile.cpp | const auto stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3}; | const auto stride = static_cast<std::uint64_t>(width) * 3; | linux:^pictures_and_desktop$
padding-win32 | src/platform/win32/Win32Pictures.cpp | std::uint64_t RowBytes24(std::uint64_t width) { return (width * 3 + 3) & ~std::uint64_t{3}; } | std::uint64_t RowBytes24(std::uint64_t width) { return width * 3; } | windows:^win32_platform_tests$
set-after-save | src/core/ApplyWallpaper.cpp | desktop.SetWallpaper(bitmap); | (void)desktop; | linux:^unit_tests$
setter-lxde | src/platform/linux/LinuxDesktop.cpp | case DesktopKind::Lxde: SetPcmanfmWallpaper("pcmanfm", bitmapPath); break; | case DesktopKind::Lxde: break; | linux:^real_desktop_lxde$
setter-lxqt | src/platform/linux/LinuxDesktop.cpp | case DesktopKind::Lxqt: SetPcmanfmWallpaper("pcmanfm-qt", bitmapPath); break; | case DesktopKind::Lxqt: break; | linux:^real_desktop_lxqt$
setter-xfce | src/platform/linux/LinuxDesktop.cpp | case DesktopKind::Xfce: SetXfceWallpaper(bitmapPath); break; | case DesktopKind::Xfce: break; | linux:^real_desktop_xfce$
setter-mate | src/platform/linux/LinuxDesktop.cpp | case DesktopKind::Mate: SetMateWallpaper(bitmapPath); break; | case DesktopKind::Mate: break; | linux:^real_desktop_mate$
setter-gnome | src/platform/linux/LinuxDesktop.cpp | case DesktopKind::Gnome: SetGnomeWallpaper(bitmapPath); break; | case DesktopKind::Gnome: break; | linux:^desktop_setters$
setter-sway | src/platform/linux/LinuxDesktop.cpp | if (SetSwayWallpaper(bitmapPath)) break; | if (!bitmapPath.empty()) break; | linux:^real_desktop_sway$
setter-swaybg | src/platform/linux/LinuxDesktop.cpp | swaybg_->Show(bitmapPath); | (void)swaybg_; | linux:^real_desktop_wlroots$
sway-path-check | src/platform/linux/WlrootsWallpaper.cpp | std::string_view("\"'\\$").find(c) != std::string_view::npos || | std::string_view("\"'\\").find(c) != std::string_view::npos || | linux:^real_desktop_wayland$
wayland-platform | src/ui/qt/main.cpp | qputenv("QT_QPA_PLATFORM", "wayland"); | qputenv("QT_QPA_PLATFORM", "xcb"); | linux:^real_desktop_wayland$
cover-shared | src/platform/linux/ScreenCover.cpp |       same->ShowOn(monitor); |       (void)same; | linux:^two_monitors$
cover-per-monitor | src/platform/linux/ScreenCover.cpp | std::max(static_cast<double>(screen.width) / pictureWidth, static_cast<double>(screen.height) / pictureHeight); | std::max(static_cast<double>(into.width) / pictureWidth, static_cast<double>(screen.height) / pictureHeight); | linux:^two_monitors$
monitors-come-and-go | src/ui/qt/main.cpp | if (LinuxDesktop::BareScreenSize()) monitors.emplace( | if (false) monitors.emplace( | linux:^two_monitors$
setter-bare | src/platform/linux/LinuxDesktop.cpp | SetXRootWallpaper(bitmapPath, pictures_ ? pictures_->TakeCover(bitmapPath) : ScreenCover{}); | (void)pictures_; | linux:^end_to_end$
setter-win32 | src/platform/win32/Win32System.cpp | SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(bitmapPath.c_str()), | SystemParametersInfoA(SPI_SETDESKPATTERN, 0, const_cast<char*>(bitmapPath.c_str()), | windows:^win32_platform_tests$
tray-hide | src/ui/TrayAndWindow.cpp | view_.HideWindow(); | (void)view_; | linux:^unit_tests$
tray-restore | src/ui/TrayAndWindow.cpp | if (view_.GetWindowState() == WindowState::Minimised) RestoreFromTray(); | if (view_.GetWindowState() == WindowState::Normal) RestoreFromTray(); | linux:^unit_tests$
hide-while-shown | src/ui/TrayAndWindow.cpp | if (view_.TrayIconShown()) { | if (true) { | windows:^win32_window_tests$
second-start-restores | src/ui/TrayAndWindow.cpp | if (view_.GetWindowState() == WindowState::Minimised) { | if (view_.GetWindowState() == WindowState::Maximised) { | linux:^end_to_end$
tray-hide-qt | src/ui/qt/MainWindow.cpp | void MainWindow::HideWindow() { hide(); } | void MainWindow::HideWindow() { showMinimized(); } | linux:^end_to_end$
tray-click-qt | src/ui/qt/MainWindow.cpp | if (reason == QSystemTrayIcon::Trigger) presenter_.OnTrayIconRelease(); | if (reason == QSystemTrayIcon::DoubleClick) presenter_.OnTrayIconRelease(); | linux:^qt_window$
tray-hide-win32 | src/ui/win32/MainWindow.cpp | ShowWindow(hwnd_, SW_HIDE); | ShowWindow(hwnd_, SW_MINIMIZE); | windows:^win32_window_tests$
taskbar-created-win32 | src/ui/win32/MainWindow.cpp |     if (trayWanted_) AddToTray(); |     (void)0; | windows:^win32_window_tests$
icon-shown-win32 | src/ui/win32/MainWindow.cpp | iconAdded_ = notify_(NIM_ADD, &tray_) || notify_(NIM_MODIFY, &tray_); | iconAdded_ = notify_(NIM_ADD, &tray_) || true; | windows:^win32_window_tests$
busy-tray-win32 | src/ui/win32/MainWindow.cpp | return iconAdded_ || !IsWindowVisible(hwnd_); | return iconAdded_ || !hwnd_; | windows:^win32_window_tests$
tray-gone-win32 | src/ui/win32/MainWindow.cpp | if (findTray_() == nullptr) return iconAdded_ = false; | if (findTray_() == nullptr && !hwnd_) return iconAdded_ = false; | windows:^win32_window_tests$
message-filter-drops | src/ui/win32/MainWindow.cpp | kDropMessages{WM_DROPFILES, WM_COPYDATA, 0x0049}; | kDropMessages{0, 0, 0}; | windows:^win32_window_tests$ | equivalent: Wine's ChangeWindowMessageFilterEx accepts every call and filters nothing, so under Wine every message reaches every window and no test can see which pass
drop-win32 | src/ui/win32/MainWindow.cpp | if (message == WM_DROPFILES) { | if (message == WM_DROPFILES + 1) { | windows:^win32_end_to_end$
drop-accept-win32 | src/ui/win32/MainWindow.cpp | DragAcceptFiles(control, TRUE); | DragAcceptFiles(control, FALSE); | windows:^win32_end_to_end$
names-narrow-win32 | src/platform/win32/NarrowPath.cpp |   if (auto narrow = Exactly(path)) return narrow; |   if (auto narrow = std::optional(Narrow(path))) return narrow; | windows:^win32_end_to_end$
names-left-out-said-win32 | src/ui/win32/MainWindow.cpp |   if (!leftOut.empty()) presenter_.OnFilesLeftOut(leftOut); |   (void)leftOut; | windows:^win32_end_to_end$
names-in-folder-win32 | src/platform/win32/Win32Files.cpp | if (auto path = NarrowPath(widePrefix + found.cFileName)) paths.push_back(std::move(*path)); | paths.push_back(ShownText(widePrefix + found.cFileName)); | windows:^win32_end_to_end$
captions-fit-win32 | src/ui/win32/MainWindow.cpp |     if (fits || std::abs(logFont.lfHeight) <= smallest) { |     if (fits || std::abs(logFont.lfHeight) >= smallest) { | windows:^win32_window_tests$
tray-click-win32 | src/ui/win32/MainWindow.cpp | if (LOWORD(lParam) == WM_LBUTTONUP) presenter_.OnTrayIconRelease(); | if (LOWORD(lParam) == WM_RBUTTONUP) presenter_.OnTrayIconRelease(); | windows:^win32_window_tests$
shut-down-once | src/ui/Presenter.cpp | if (shutDown_) return; | if (shutDown_) {} | linux:^(unit_tests|qt_window)$
one-program-mutex-win32 | src/ui/win32/OneProgram.cpp | first_ = !(error == ERROR_ALREADY_EXISTS || | first_ = !(error == ERROR_INVALID_DATA || | windows:^win32_end_to_end$
hand-over-message-win32 | src/ui/win32/OneProgram.cpp | PostMessageA(window, message, 0, 0); | PostMessageA(window, message + 1, 0, 0); | windows:^win32_end_to_end$
one-program-lock | src/ui/qt/OneProgram.cpp | for (int attempt = 0; !held_; ++attempt) { | for (int attempt = 0; false; ++attempt) { | linux:^end_to_end$
lock-stale-by-age | src/ui/qt/OneProgram.cpp | lock_.setStaleLockTime(0); | lock_.setStaleLockTime(1); | linux:^end_to_end$ | equivalent: Qt's lock file also holds an flock while its program runs and removes a stale-looking file only after taking that flock, so a live program's lock is never taken, however old; only a killed program's is
killed-socket-replaced | src/ui/qt/OneProgram.cpp | QLocalServer::removeServer(Place("socket")); | (void)0; | linux:^end_to_end$ | equivalent: with access options set, Qt 6's listen takes a killed program's leftover socket over by itself: with the call removed, a second start after a kill still brings the minimised window back (tried by hand)
hand-over-show | src/ui/qt/OneProgram.cpp |     show(); |     (void)show; | linux:^end_to_end$
caption-linux | src/ui/ControlTable.h | kAutostartCaption = "Start At Login"; | kAutostartCaption = "Start With Windows"; | linux:^qt_window$
drop-filter-qt | src/ui/qt/MainWindow.cpp | list->viewport()->installEventFilter(this); | (void)list; | linux:^qt_window$
drop-name-order | src/ui/ListCommands.cpp | std::sort(inside.begin(), inside.end(), NameOrder); | std::sort(inside.begin(), inside.end(), [](auto& a, auto& b) { return (void)NameOrder, a < b; }); | linux:^qt_window$
drop-non-pictures | src/ui/ListCommands.cpp | if (services_.pictures.IsPicture(file)) pictures.push_back(std::move(file)); | pictures.push_back(std::move(file)); | linux:^qt_window$
drop-saved-once | src/ui/ListCommands.cpp |     AddPath(path); |     AddPath(path), SaveList(); | linux:^qt_window$
png-colours | src/platform/linux/PngToBitmap.cpp | png_set_bgr(png); | (void)0; | linux:^pictures_and_desktop$
alpha-over-black | src/platform/linux/PngToBitmap.cpp | (p[c] * alpha + 127) / 255); | (p[c] * 255 + 127) / 255); | linux:^pictures_and_desktop$
tiff-linux | src/platform/linux/PictureKinds.cpp | {"tiff", {"*.tif", "*.tiff"}}, | {"tga", {"*.tif", "*.tiff"}}, | linux:^pictures_and_desktop$
kinds-one-set | src/platform/linux/PictureKinds.cpp | return reader.canRead() && IsShownFormat(reader.format()); | return reader.canRead(); | linux:^pictures_and_desktop$
turn-quarter | src/platform/linux/OrientedWriter.cpp | {(h - 1) * w, -w, 1},       // 6: a quarter turn clockwise | {w - 1, w, -1}, | linux:^pictures_and_desktop$
turn-mirror | src/platform/linux/OrientedWriter.cpp | {w - 1, -1, w},             // 2: mirrored | {0, 1, w}, | linux:^pictures_and_desktop$
turn-sides | src/platform/linux/OrientedWriter.cpp | const bool swap = SwapsSides(orientation); | const bool swap = false; | linux:^pictures_and_desktop$
turn-preview | src/platform/linux/Orientation.cpp | if (orientation == 5) return turned.mirrored(true, false); | if (orientation == 5) return turned; | linux:^pictures_and_desktop$
turn-preview-size | src/platform/linux/LinuxPictures.cpp | reader.setScaledSize(SwapsSides(orientation) ? size.transposed() : size); | reader.setScaledSize(size); | linux:^pictures_and_desktop$
turn-tiff | src/platform/linux/Orientation.cpp | return h && v ? 8 : h ? 7 : v ? 5 : 6; | return h && v ? 8 : h ? 5 : v ? 7 : 6; | linux:^pictures_and_desktop$
exif-out-of-range | src/platform/linux/Orientation.cpp | return value >= 1 && value <= 8 ? value : kUpright; | return value >= 1 ? value : kUpright; | linux:^pictures_and_desktop$
exif-bare | src/platform/linux/Orientation.cpp | if (size < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) block.assign("Exif\0\0", 6); | (void)0; | linux:^pictures_and_desktop$
exif-png | src/platform/linux/Orientation.cpp | if (std::memcmp(chunk + 4, "eXIf", 4) == 0) return FromBlock(fd, at + 8, length); | (void)0; | linux:^pictures_and_desktop$
budget-jpeg | src/platform/linux/BitmapFile.cpp | if (!FitsBudget(width, height, CoefficientBytes(info) + TurningBytes(width, height, orientation))) { | if (!FitsBudget(width, height, TurningBytes(width, height, orientation))) { | linux:^pictures_and_desktop$
budget-webp | src/platform/linux/WebpToBitmap.cpp | if (features.has_animation || features.format == 2) return pixels * 4; | if (features.has_animation) return pixels * 4; | linux:^pictures_and_desktop$
budget-preview | src/platform/linux/LinuxPictures.cpp | if (!bytes || *bytes > kMaxBitmapBytes) return {}; | if (!bytes) return {}; | linux:^pictures_and_desktop$
png-chunks-passed-over | src/platform/linux/PngToBitmap.cpp |   png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnused, 6); |   (void)kUnused; | linux:^pictures_and_desktop$
png-chunks-within-file | src/platform/linux/LinuxPictures.cpp |   if (reader.format() == "png" && !ChunksWithinFile(fd)) { |   if (reader.format() == "png" && !ChunksWithinFile(fd) && false) { | linux:^pictures_and_desktop$
gif-transparent-black | src/platform/linux/GifToBitmap.cpp | if (i == transparent) continue; | (void)transparent; | linux:^pictures_and_desktop$
wic-fallback-win32 | src/platform/win32/Win32Pictures.cpp | if (PicturePtr picture = LoadPictureWithWic(*bytes)) return picture; | if (PicturePtr picture = nullptr) return picture; | windows:^win32_platform_tests$
wic-alpha-win32 | src/platform/win32/Win32Pictures.cpp | FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, | FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, | windows:^win32_platform_tests$
exif-orientation-win32 | src/platform/win32/Win32Pictures.cpp | const int orientation = ExifOrientation(bytes); | const int orientation = 1; | windows:^win32_platform_tests$
quarter-turn-win32 | src/platform/win32/PictureHeader.cpp | case 8: return {y, right}; | case 8: return {bottom, x}; | windows:^win32_platform_tests$
orientation-range-win32 | src/platform/win32/PictureHeader.cpp | && value >= 1 && value <= 8 ? | && value >= 1 ? | windows:^win32_platform_tests$
webp-exif-win32 | src/platform/win32/PictureHeader.cpp | if (Part(file, at, 4) == "EXIF") | if (Part(file, at, 4) == "exif") | windows:^win32_platform_tests$
header-budget-win32 | src/platform/win32/Win32Pictures.cpp | if (header && !Fits(header->width, header->height, header->decoderBytes)) return nullptr; | if (false) return nullptr; | windows:^win32_platform_tests$
coefficients-win32 | src/platform/win32/PictureHeader.cpp | const bool allCoefficients = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE; | const bool allCoefficients = false; | windows:^win32_platform_tests$
drop-budget-win32 | src/platform/win32/Win32Pictures.cpp | if (header && !Fits(header->width, header->height, header->decoderBytes)) return false; | if (false) return false; | windows:^win32_platform_tests$
kind-separator-win32 | src/platform/win32/Win32Pictures.cpp | if (c != L',' && c != L';' && c != L'\0') { | if (c != L',' && c != L'\0') { | windows:^win32_platform_tests$
ole-fallback-win32 | src/platform/win32/Win32Pictures.cpp | return LoadPictureWithOle(*bytes); | return nullptr; | windows:^win32_platform_tests$
leftover-running-kept | src/platform/linux/PosixFiles.cpp | return pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH); | return pid != ::getpid() && ::kill(pid, 0) != 0 && errno != ESRCH; | linux:^faults$
leftover-other-user-kept | src/platform/linux/PosixFiles.cpp | return pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH); | return pid != ::getpid() && ::kill(pid, 0) == 0; | linux:^faults$
leftover-name-rule | src/platform/TemporaryName.h | if (processError != std::errc() || processEnd != ids.data() + attemptDash || attemptError != std::errc() || | if (processError != std::errc() || attemptError != std::errc() || | linux:^faults$
leftover-other-host | src/platform/linux/PosixFiles.cpp | if (!owner || owner->host != TemporaryHost() || StillRuns(owner->process)) continue; | if (!owner || StillRuns(owner->process)) continue; | linux:^faults$
leftover-other-host-win32 | src/platform/win32/Win32Files.cpp | if (!owner || owner->host != TemporaryHost() || StillRuns(owner->process)) continue; | if (!owner || StillRuns(owner->process)) continue; | windows:^win32_platform_tests$
leftover-running-win32 | src/platform/win32/Win32Files.cpp | const bool runs = !GetExitCodeProcess(handle, &exitCode) || exitCode == STILL_ACTIVE; | const bool runs = !GetExitCodeProcess(handle, &exitCode) && exitCode == STILL_ACTIVE; | windows:^win32_platform_tests$
hang-up-saves | src/ui/qt/ProgramEnd.cpp | constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP}; | constexpr int kSignals[] = {SIGTERM, SIGINT}; | linux:^end_to_end$
EOF
)

log=$tree.log
mkdir -p "$tree" "$log"
started=$SECONDS

# The tracked files as they are in the working tree; a file whose content is unchanged keeps
# its time, so the builds stay incremental.
sync_tree() {
  (cd "$top" && git ls-files -z) | while IFS= read -r -d '' file; do
    [[ -f $top/$file ]] || continue
    cmp -s "$top/$file" "$tree/$file" 2>/dev/null && continue
    mkdir -p "$(dirname "$tree/$file")"
    cp -P --preserve=mode "$top/$file" "$tree/$file"
  done
}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$tree CCACHE_NOHASHDIR=true
fi
# The programs the chosen tests run, not the whole build (benchmarks, other tests).
targets() {  # PRESET REGEX
  local name
  ctest --test-dir "$tree/build/$1" -N -R "$2" | sed -n 's/^ *Test *#[0-9]*: //p' | while read -r name; do
    case $name in
      unit_tests) echo scenewright_unit_tests ;;
      soak_tests) echo scenewright_soak_tests ;;
      faults) echo scenewright_fault_tests ;;
      posix_services) echo scenewright_posix_tests ;;
      pictures_and_desktop) echo scenewright_pictures_tests ;;
      desktop_setters) echo scenewright_desktop_setter_tests ;;
      qt_window) echo scenewright_qt_view_tests ;;
      end_to_end | real_desktop_* | two_monitors | user_folders_and_package) echo scenewright ;;
      win32_platform_tests) echo scenewright_platform_tests ;;
      win32_window_tests) echo scenewright_window_tests ;;
      win32_end_to_end) echo scenewright_window_probe ;;
      wine_setup | wine_teardown) ;;  # the Wine prefix's fixture, listed beside the tests that need it
      *) echo all ;;
    esac
  done | sort -u
}
build() {  # PRESET REGEX
  [[ -f $tree/build/$1/build.ninja ]] || (cd "$tree" && cmake --preset "$1" "${launcher[@]}" >"$log/configure-$1.txt" 2>&1)
  local wanted
  mapfile -t wanted < <(targets "$1" "$2")
  nice cmake --build "$tree/build/$1" -j "$jobs" --target "${wanted[@]:-all}" >"$log/build.txt" 2>&1
}
wine_state=$tree/build/windows/wine
wine_started=
tests() {  # PRESET REGEX: the Wine prefix is made once, not for every fault
  local extra=()
  if [[ $1 == windows ]]; then
    if [[ -z $wine_started ]]; then
      "$tree/tools/wine-run.sh" --state "$wine_state" --setup >"$log/wine.txt" 2>&1
      wine_started=1
    fi
    extra=(-FA wine)
  fi
  # A fault's run stops at the first failing test, and each test program at its first failing case.
  env ${stop:+GTEST_FAIL_FAST=1} ctest --test-dir "$tree/build/$1" -R "$2" -j "$jobs" --output-on-failure "${stop[@]}" "${extra[@]}" \
    >"$log/test.txt" 2>&1
}
# A failure seen once more: the real desktops' tests wait on other programs, and on a loaded
# machine one may time out without any fault.
again() {  # PRESET
  local extra=()
  [[ $1 != windows ]] || extra=(-FA wine)
  GTEST_FAIL_FAST=1 ctest --test-dir "$tree/build/$1" --rerun-failed "${extra[@]}" >"$log/again.txt" 2>&1
}
failed() { grep -oE '[0-9]+ - [^ ]+ \((Failed|Timeout|SEGFAULT|Subprocess aborted)\)' "$log/test.txt" | sed -E 's/^[0-9]+ - //' | paste -sd ' '; }
cleanup() {
  [[ -z $wine_started ]] || "$tree/tools/wine-run.sh" --state "$wine_state" --teardown >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Exactly once, or the fault no longer fits the code.
plant() {  # FILE OLD NEW
  python3 - "$tree/$1" "$2" "$3" <<'PY'
import sys
path, old, new = sys.argv[1:]
with open(path, encoding="utf-8") as f:
    text = f.read()
if text.count(old) != 1:
    sys.exit(1)
with open(path, "w", encoding="utf-8") as f:
    f.write(text.replace(old, new))
PY
}

trim() { local s=$1; s=${s#"${s%%[! ]*}"}; echo "${s%"${s##*[! ]}"}"; }
declare -a ids files olds news presets regexes notes
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] && continue
  IFS=$'\x1f' read -r id file old new target note <<<"${line// | /$'\x1f'}"
  id=$(trim "$id") target=$(trim "$target")
  if (( $# > 0 )) && ! printf '%s\n' "$@" | grep -qx -e "$id" -e "${target%%:*}"; then continue; fi
  ids+=("$id") files+=("$(trim "$file")") olds+=("$old") news+=("$new")
  presets+=("${target%%:*}") regexes+=("${target#*:}") notes+=("${note#equivalent: }")
done <<<"$table"
(( ${#ids[@]} > 0 )) || { echo "no such fault: $*" >&2; exit 2; }

# The lanes that run alongside, each in its own copy (etree, wtree, dtree, ktree); their lines
# come as they are done, their counts at the end.
lane() {  # INDEX
  if [[ ${regexes[$1]} == *win32_end_to_end* ]]; then echo e
  elif [[ ${presets[$1]} == windows ]]; then echo w
  elif [[ ${regexes[$1]} == *real_desktop_* ]]; then (( $1 % 2 )) && echo d || echo k
  fi
}
lanes=()
if [[ -z ${MUTATE_COUNTS:-} ]]; then
  for name in e w d k; do
    mapfile -t wanted < <(for i in "${!ids[@]}"; do [[ $(lane "$i") != "$name" ]] || echo "${ids[i]}"; done)
    (( ${#wanted[@]} > 0 && ${#wanted[@]} < ${#ids[@]} )) || continue
    rm -f "$log/$name-counts"
    MUTATE_TREE=$(dirname "$tree")/$name$(basename "$tree") MUTATE_COUNTS=$log/$name-counts "$0" "${wanted[@]}" |
      grep --line-buffered -v '^faults ' &
    lanes+=("$name")
    for i in "${!ids[@]}"; do [[ $(lane "$i") != "$name" ]] || unset "ids[i]"; done
  done
fi
sync_tree
# Before a preset's first fault, the unchanged tree with every test its faults name.
baseline() {  # PRESET
  local union stop=()
  union=$(for i in "${!ids[@]}"; do [[ ${presets[i]} != "$1" ]] || echo "${regexes[i]}"; done | sort -u | paste -sd '|')
  build "$1" "$union" || { echo "the unchanged tree does not build; see $log/build.txt" >&2; exit 1; }
  if ! tests "$1" "$union"; then
    again "$1" || again "$1" || { echo "the unchanged tree fails $(failed); see $log/again.txt" >&2; exit 1; }
    echo "$1: the unchanged tree failed $(failed) once, then passed"
  fi
  echo "$1: the unchanged tree passes the tests of its faults (at $((SECONDS - started)) s)"
}

caught=0 survived=0 equivalent=0 stale=0 broken=0 unsure=0
for preset in linux windows; do
  for i in "${!ids[@]}"; do
    [[ ${presets[i]} == "$preset" ]] || continue
    [[ ${baselined:-} == *" $preset"* ]] || { baseline "$preset"; baselined+=" $preset"; }
    stop=(--stop-on-failure)  # the baseline runs every test; a fault stops at the first that catches it
    id=${ids[i]} file=${files[i]}
    begin=$SECONDS built=0
    if ! plant "$file" "${olds[i]}" "${news[i]}"; then
      result=stale detail="the old text is not in $file exactly once"
      stale=$((stale + 1))
    elif ! build "$preset" "${regexes[i]}" || ! built=$((SECONDS - begin)); then
      result="does not build" detail=$(grep -m1 'error:' "$log/build.txt" || true)
      broken=$((broken + 1))
    elif ! tests "$preset" "${regexes[i]}"; then
      if again "$preset"; then
        result=unsure detail="$(failed) failed, then passed"
        unsure=$((unsure + 1))
      else
        result=caught detail="by $(failed)"
        caught=$((caught + 1))
      fi
    elif [[ -n ${notes[i]} ]]; then
      result="survived, equivalent" detail=${notes[i]}
      equivalent=$((equivalent + 1))
    else
      result=SURVIVED detail="no test of ${regexes[i]} noticed"
      survived=$((survived + 1))
    fi
    cp -P --preserve=mode "$top/$file" "$tree/$file"  # a new time: the next build takes the original again
    cp "$log/test.txt" "$log/$id.txt" 2>/dev/null || true
    printf '%-26s %-8s %-21s %4d s (build %3d s)  %s\n' "$id" "$preset" "$result" $((SECONDS - begin)) "$built" "$detail"
  done
done

wait  # the lanes and all they started, so that the processor time below counts them
total=${#ids[@]}
for name in "${lanes[@]}"; do
  read -r c s e u t b <"$log/$name-counts" || { echo "the lane in $name$(basename "$tree") ended early" >&2; exit 1; }
  caught=$((caught + c)) survived=$((survived + s)) equivalent=$((equivalent + e)) unsure=$((unsure + u))
  stale=$((stale + t)) broken=$((broken + b)) total=$((total + c + s + e + u + t + b))
done
[[ -z ${MUTATE_COUNTS:-} ]] || echo "$caught $survived $equivalent $unsure $stale $broken" >"$MUTATE_COUNTS"
counted=$((caught + survived + unsure))
# Processor time of everything this run started: the run time on idle cores is about this over $jobs.
times >"$log/times.txt"  # not in a pipe: a subshell has no children of its own
cpu=$(tail -n1 "$log/times.txt" | awk '{ split($1, u, "m"); split($2, s, "m"); printf "%d", u[1] * 60 + u[2] + s[1] * 60 + s[2] }')
echo "faults $total: caught $caught, survived $survived (+$equivalent equivalent), unsure $unsure, stale $stale," \
  "do not build $broken; caught $((counted ? 100 * caught / counted : 100)) % of the non-equivalent;" \
  "$((SECONDS - started)) s in all, $cpu s of processor time"
(( survived == 0 && unsure == 0 && stale == 0 && broken == 0 ))
