#include "ui/qt/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <vector>

#include "platform/linux/LinuxPictures.h"

namespace scenewright::qt {

namespace {

// Twips are laid out at 15 per logical pixel; Qt scales logical pixels for the screen.
constexpr int kLogicalDpi = 96;
constexpr int kBackspace = 8;

int Px(int twips) { return TwipsToPixels(twips, kLogicalDpi); }

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The character a key press types, as the key filter sees it; -1 for the editing keys, which
// type nothing even where X11 gives them a text (Delete brings U+007F), for Select All, and for
// Tab, which moves the focus instead.
int CharacterCode(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace) return kBackspace;
  if (key.key() >= Qt::Key_Escape || key.matches(QKeySequence::SelectAll)) return -1;
  const QList<uint> text = key.text().toUcs4();
  return text.size() == 1 ? static_cast<int>(text.front()) : -1;
}

// The widest texts the countdown label shows.
constexpr std::string_view kLongestCountdowns[] = {"The wallpaper will change in 86399.9 seconds.",
                                                   "Timed wallpaper changing is disabled."};

// The layout is fixed in twips, but the desktop's default font is often wider than the one
// it was drawn for: the default family, shrunk until every text fits its control.
QFont FontThatFits(QFont font, const QStyle& style) {
  const int indicator = style.pixelMetric(QStyle::PM_IndicatorWidth) +
                        style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 2;
  auto fits = [&](const QFont& candidate) {
    const QFontMetrics metrics(candidate);
    for (const ControlSpec& spec : kControls) {
      int room = Px(spec.rect.width);
      if (spec.kind == ControlKind::CheckBox || spec.kind == ControlKind::OptionButton) room -= indicator;
      if (spec.kind == ControlKind::Button) room -= 6;
      if (spec.kind == ControlKind::Frame) room -= 16;
      if (metrics.horizontalAdvance(Q(spec.text)) > room) return false;
    }
    for (std::string_view text : kLongestCountdowns) {
      if (metrics.horizontalAdvance(Q(text)) > Px(SpecOf(ControlId::lblNextChange).rect.width)) return false;
    }
    return true;
  };
  for (qreal size = font.pointSizeF(); size > 6; size -= 0.5) {
    font.setPointSizeF(size);
    if (fits(font)) return font;
  }
  font.setPointSizeF(6);
  return font;
}

}  // namespace

MainWindow::MainWindow(const Services& services) : presenter_(services, *this) {
  setWindowTitle(Q(kWindowCaption));
  setObjectName(QStringLiteral("Form1"));
  resize(Px(kClientWidthTwips), Px(kClientHeightTwips));
  if (font().pointSizeF() > 0) setFont(FontThatFits(font(), *style()));
  BuildControls();
  BuildTabOrder();
  BuildTimerAndTray();
  ConnectEvents();
  control(ControlId::lstWall)->setFocus();  // tab index 0
}

void MainWindow::BuildControls() {
  // The table lists every container before what it holds.
  for (const ControlSpec& spec : kControls) {
    QWidget* parent = spec.container ? control(*spec.container) : this;
    QWidget* widget = BuildControl(spec, parent);
    widget->setObjectName(Q(spec.name));
    PlaceControl(spec, widget);
    widget->setVisible(spec.visible);
    controls_[static_cast<std::size_t>(spec.id)] = widget;
  }
}

QWidget* MainWindow::BuildControl(const ControlSpec& spec, QWidget* parent) {
  const QString text = Q(spec.text);
  switch (spec.kind) {
    case ControlKind::Frame: return new QGroupBox(text, parent);
    case ControlKind::CheckBox: return new QCheckBox(text, parent);
    case ControlKind::OptionButton: return new QRadioButton(text, parent);
    case ControlKind::Button: return new QPushButton(text, parent);
    case ControlKind::Label: return new QLabel(text, parent);
    case ControlKind::TextBox: {
      auto* box = new QLineEdit(text, parent);
      box->setAttribute(Qt::WA_InputMethodEnabled, false);  // every character passes the filter
      box->installEventFilter(this);
      return box;
    }
    case ControlKind::PictureBox: {
      auto* frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      frame->setLineWidth(2);
      frame->setFocusPolicy(Qt::TabFocus);  // a picture box is a tab stop
      return frame;
    }
    case ControlKind::Image: {
      auto* image = new QLabel(parent);
      image->setScaledContents(true);
      return image;
    }
    case ControlKind::ListBox: {
      auto* list = new QListWidget(parent);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setSortingEnabled(false);
      // Every row is one line of text: the view need not measure 32767 rows one by one.
      list->setUniformItemSizes(true);
      // Files dropped from a file manager: the view's own drop handling knows only its rows.
      list->viewport()->setAcceptDrops(true);
      list->viewport()->installEventFilter(this);
      return list;
    }
  }
  return new QWidget(parent);
}

void MainWindow::PlaceControl(const ControlSpec& spec, QWidget* widget) {
  QPoint origin;
  // A picture box's children sit inside its border; a frame's children are placed from its edge.
  if (auto* frame = qobject_cast<QFrame*>(widget->parentWidget());
      frame != nullptr && spec.container && SpecOf(*spec.container).kind == ControlKind::PictureBox) {
    origin = frame->contentsRect().topLeft();
  }
  widget->setGeometry(origin.x() + Px(spec.rect.left), origin.y() + Px(spec.rect.top),
                      Px(spec.rect.width), Px(spec.rect.height));
}

void MainWindow::BuildTabOrder() {
  // Frames and labels take no focus in Qt; chaining them would drag their children along.
  std::vector<const ControlSpec*> stops;
  for (const ControlSpec& spec : kControls) {
    if (spec.tabIndex && control(spec.id)->focusPolicy() != Qt::NoFocus) stops.push_back(&spec);
  }
  std::sort(stops.begin(), stops.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return *a->tabIndex < *b->tabIndex; });
  for (std::size_t i = 1; i < stops.size(); ++i) {
    setTabOrder(control(stops[i - 1]->id), control(stops[i]->id));
  }
}

void MainWindow::BuildTimerAndTray() {
  timer2_ = new QTimer(this);
  timer2_->setInterval(kTimer2PeriodMs);
  timer2_->start();  // enabled from the window's creation
  tray_ = new QSystemTrayIcon(this);
}

void MainWindow::ConnectEvents() {
  auto button = [this](ControlId id) { return static_cast<QAbstractButton*>(control(id)); };
  connect(timer2_, &QTimer::timeout, this, [this] { presenter_.OnTimer(); });
  connect(button(ControlId::cmdNext), &QPushButton::clicked, this, [this] { presenter_.OnNextClick(); });
  connect(button(ControlId::cmdAdd), &QPushButton::clicked, this, [this] { presenter_.OnAddClick(); });
  connect(button(ControlId::Command2), &QPushButton::clicked, this, [this] { presenter_.OnRemoveClick(); });
  connect(button(ControlId::cmdSaveConf), &QPushButton::clicked, this, [this] { presenter_.OnSaveClick(); });
  for (ControlId id : {ControlId::chkAutostart, ControlId::chkNewOnStart, ControlId::chkRandom,
                       ControlId::chkChangeTime}) {
    connect(button(id), &QCheckBox::clicked, this,
            [this, id](bool checked) { presenter_.OnCheckBoxClick(id, checked ? 1 : 0); });
  }
  for (ControlId id : {ControlId::optHours, ControlId::optMinutes, ControlId::optSeconds}) {
    connect(button(id), &QRadioButton::clicked, this, [this, id] { presenter_.OnOptionClick(id); });
  }
  connect(static_cast<QLineEdit*>(control(ControlId::txtTime)), &QLineEdit::textEdited, this,
          [this](const QString& text) { presenter_.OnTextChanged(ControlId::txtTime, text.toStdString()); });
  // Only a real selection is a click: Qt makes a row current without selecting it when the
  // list takes the focus. What the program selects itself is shown with signals blocked.
  connect(list(), &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = list()->selectedItems();
    presenter_.OnListClick(selected.isEmpty() ? -1 : list()->row(selected.front()));
  });
  connect(list(), &QListWidget::itemDoubleClicked, this, [this] { presenter_.OnListDoubleClick(); });
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) presenter_.OnTrayIconRelease();
  });
}

QListWidget* MainWindow::list() const { return static_cast<QListWidget*>(control(ControlId::lstWall)); }

void MainWindow::ShutDown() {
  presenter_.OnQueryUnload();  // once, whoever asks first
  QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  ShutDown();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (list() != nullptr && watched == list()->viewport()) return FilterListDrop(event);
  if (event->type() == QEvent::KeyPress && watched == control(ControlId::txtTime)) {
    const int code = CharacterCode(*static_cast<QKeyEvent*>(event));
    if (code >= 0 && !presenter_.OnKeyPress(ControlId::txtTime, code)) return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool MainWindow::FilterListDrop(QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  std::vector<std::string> paths;
  for (const QUrl& url : drop->mimeData()->urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  if (paths.empty()) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  // After the drop has finished, so the file manager is not kept waiting while pictures are read.
  if (type == QEvent::Drop) QTimer::singleShot(0, this, [this, paths] { presenter_.OnListDrop(paths); });
  return true;
}

void MainWindow::ShowControl(ControlId id, const ControlState& state) {
  QWidget* widget = control(id);
  const QSignalBlocker blocker(widget);
  widget->setEnabled(state.enabled);
  switch (SpecOf(id).kind) {
    case ControlKind::CheckBox:
      static_cast<QCheckBox*>(widget)->setChecked(state.value != 0);
      break;
    case ControlKind::OptionButton: {
      // The presenter keeps the group exclusive; Qt alone would refuse to turn the chosen one off.
      auto* option = static_cast<QRadioButton*>(widget);
      option->setAutoExclusive(false);
      option->setChecked(state.value != 0);
      option->setAutoExclusive(true);
      break;
    }
    case ControlKind::TextBox: {
      auto* box = static_cast<QLineEdit*>(widget);
      if (box->text() != Q(state.text)) box->setText(Q(state.text));
      break;
    }
    case ControlKind::Label:
      // The countdown changes at every tick; relaying out a hidden window for it would cost
      // more than the rest of the tick, so a hidden window catches up when it is shown.
      if (isVisible()) {
        static_cast<QLabel*>(widget)->setText(Q(state.text));
      } else {
        hiddenLabelTexts_[id] = state.text;
      }
      break;
    default:
      break;
  }
}

void MainWindow::ShowListRows(const std::vector<std::string>& rows) {
  const QSignalBlocker blocker(list());
  list()->clear();
  QStringList all;
  all.reserve(static_cast<qsizetype>(rows.size()));
  for (const std::string& row : rows) all.append(Q(row));
  list()->addItems(all);
}

void MainWindow::ShowListAppend(const std::string& row) {
  const QSignalBlocker blocker(list());
  list()->addItem(Q(row));
}

void MainWindow::ShowListRemove(int index) {
  const QSignalBlocker blocker(list());
  delete list()->takeItem(index);
}

void MainWindow::ShowListSelection(int index) {
  const QSignalBlocker blocker(list());
  list()->setCurrentRow(index);
  if (index < 0) list()->clearSelection();
}

bool MainWindow::ShowPreview(const std::string& path) {
  // The box stretches its picture to its own size, so that size is all that need be decoded.
  auto* box = static_cast<QLabel*>(control(ControlId::Picture2));
  const QImage picture = linux_platform::ReadPicture(path, box->size() * box->devicePixelRatio());
  if (picture.isNull()) return false;
  box->setPixmap(QPixmap::fromImage(picture));
  return true;
}

std::vector<std::string> MainWindow::ChooseFiles(const FileChooserRequest& request) {
  // exec() runs a nested event loop, so Timer2 keeps ticking while the dialog is up.
  QFileDialog dialog(this, Q(request.title), lastFolder_);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  // Qt reads the patterns from the parentheses, so the shown ones are the real ones.
  QStringList filters;
  for (const FileFilter& filter : request.filters) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns) patterns << Q(pattern);
    filters << Q(filter.name) + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  dialog.setNameFilters(filters);  // the first one selected
  std::vector<std::string> paths;
  if (dialog.exec() != QDialog::Accepted) return paths;
  lastFolder_ = dialog.directory().absolutePath();
  for (const QString& path : dialog.selectedFiles()) paths.push_back(path.toStdString());
  return paths;
}

void MainWindow::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void MainWindow::ShowMessageBox(const std::string& text, const std::string& title) {
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
  unsetCursor();
  QMessageBox box(QMessageBox::Information, Q(title), Q(text), QMessageBox::Ok, this);
  box.exec();
}

std::string MainWindow::AddTrayIcon(std::string_view tip) {
  tray_->setIcon(windowIcon());
  tray_->setToolTip(Q(tip));
  if (tray_->icon().isNull()) return "The notification area icon could not be created.";
  // A tray missing now is no error: a panel often starts after the programs of the logon,
  // and Qt docks the icon whenever a tray appears (again, after a panel's restart).
  tray_->show();
  return {};
}

bool MainWindow::TrayIconShown() { return tray_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable(); }

void MainWindow::RemoveTrayIcon() { tray_->hide(); }

WindowState MainWindow::GetWindowState() {
  const Qt::WindowStates state = windowState();
  if (state & Qt::WindowMinimized) return WindowState::Minimised;
  if (state & Qt::WindowMaximized) return WindowState::Maximised;
  return WindowState::Normal;
}

void MainWindow::HideWindow() { hide(); }

void MainWindow::showEvent(QShowEvent* event) {
  for (const auto& [id, text] : hiddenLabelTexts_) static_cast<QLabel*>(control(id))->setText(Q(text));
  hiddenLabelTexts_.clear();
  QWidget::showEvent(event);
}

void MainWindow::RestoreWindow() {
  showNormal();
  RaiseWindow();
}

void MainWindow::RaiseWindow() {
  raise();
  activateWindow();
}

}  // namespace scenewright::qt
