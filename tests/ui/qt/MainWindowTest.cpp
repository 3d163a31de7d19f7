// The Qt window over the in-memory services, on Qt's offscreen platform: every control where
// the table puts it, and every user event arriving at the presenter.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>
#include <filesystem>
#include <fstream>
#include <functional>

#include "fakes/FakeServices.h"
#include "ui/qt/MainWindow.h"

namespace scenewright::qt {
namespace {

using scenewright::testing::FakeSystem;

void WaitUntil(const std::function<bool()>& done, int ms = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Runs `act` on the next modal window Qt shows (the dialog or the message box).
void OnNextModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    WaitUntil([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
    act(QApplication::activeModalWidget());
  });
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system_.WriteListFile(system_.MakePictures(3));
    window_ = std::make_unique<MainWindow>(system_.services());
    QPixmap icon(16, 16);
    icon.fill(Qt::darkCyan);
    window_->setWindowIcon(icon);  // the program's own comes from its resources
    // The offscreen platform has no tray, which is no reason for a box at start-up: one
    // shown all the same is counted and closed.
    QTimer boxGuard;
    boxGuard.setSingleShot(true);
    QObject::connect(&boxGuard, &QTimer::timeout, [this] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        ++startUpBoxes_;
        box->close();
      }
    });
    boxGuard.start(1000);
    window_->presenter().OnLoad();
    window_->show();
  }

  template <typename T>
  T* Get(ControlId id) {
    return qobject_cast<T*>(window_->control(id));
  }
  QListWidget* List() { return Get<QListWidget>(ControlId::lstWall); }
  void Click(ControlId id) { QTest::mouseClick(window_->control(id), Qt::LeftButton); }
  QPoint RowCentre(int row) { return List()->visualItemRect(List()->item(row)).center(); }

  FakeSystem system_;
  std::unique_ptr<MainWindow> window_;
  int startUpBoxes_ = 0;
};

QString TextOf(QWidget* widget) {
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return {};
}

TEST_F(MainWindowTest, BuildsEveryControlAtItsPlaceWithItsTextAndTabOrder) {
  EXPECT_EQ(window_->windowTitle(), "Scenewright");
  EXPECT_EQ(window_->size(), QSize(462, 290));
  EXPECT_EQ(window_->timer2()->interval(), 100);
  window_->resize(900, 700);  // the layout does not follow the window's size
  for (const ControlSpec& spec : kControls) {
    QWidget* widget = window_->control(spec.id);
    ASSERT_NE(widget, nullptr) << spec.name;
    EXPECT_EQ(widget->objectName().toStdString(), spec.name);
    EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), spec.container ? kControls[static_cast<std::size_t>(*spec.container)].name : "Form1");
    // 15 twips a logical pixel; the preview image sits inside its frame's 2-pixel border.
    const int border = spec.id == ControlId::Picture2 ? 2 : 0;
    EXPECT_EQ(widget->geometry(), QRect(spec.rect.left / 15 + border, spec.rect.top / 15 + border, spec.rect.width / 15,
                                        spec.rect.height / 15)) << spec.name;
    if (spec.kind != ControlKind::TextBox && spec.id != ControlId::lblNextChange) {
      EXPECT_EQ(TextOf(widget).toStdString(), spec.text);
    }
    EXPECT_EQ(widget->isVisibleTo(window_.get()), spec.visible) << spec.name;
  }
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_FALSE(List()->isSortingEnabled());

  // Tab walks the focusable controls in tab-index order, starting from the list.
  EXPECT_EQ(window_->focusWidget(), List());
  QStringList order;
  QWidget* widget = List();
  do {
    if (widget->focusPolicy() & Qt::TabFocus && widget->isVisibleTo(window_.get())) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != List());
  EXPECT_EQ(order.join(' ').toStdString(),
            "lstWall chkAutostart chkNewOnStart chkChangeTime chkRandom txtTime optHours optMinutes optSeconds "
            "cmdSaveConf cmdAdd Command2 cmdNext Picture3");
}

TEST_F(MainWindowTest, ShowsTheStartUpStateAndNoBoxWhenThereIsNoTray) {
  EXPECT_EQ(startUpBoxes_, 0);
  EXPECT_TRUE(window_->presenter().TrayIconAdded());  // docks when a tray comes
  EXPECT_FALSE(window_->TrayIconShown());
  EXPECT_EQ(window_->trayIcon()->toolTip(), "Scenewright");
  ASSERT_EQ(List()->count(), 3);
  EXPECT_EQ(List()->item(2)->text().toStdString(), system_.MakePictures(3)[2]);
  WaitUntil([&] { return !Get<QLabel>(ControlId::lblNextChange)->text().isEmpty(); });
  EXPECT_TRUE(Get<QLabel>(ControlId::lblNextChange)->text().startsWith("The wallpaper will change in "));

  // With no tray icon on screen to bring it back, a minimised window stays minimised.
  window_->setWindowState(Qt::WindowMinimized);
  QTest::qWait(250);
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(MainWindowTest, ConfigurationEventsReachThePresenter) {
  Presenter& presenter = window_->presenter();
  auto* amount = Get<QLineEdit>(ControlId::txtTime);
  Click(ControlId::chkChangeTime);
  EXPECT_EQ(presenter.Control(ControlId::chkChangeTime).value, 0);
  EXPECT_FALSE(amount->isEnabled());
  Click(ControlId::chkChangeTime);
  EXPECT_TRUE(amount->isEnabled());

  // The key filter: digits and Backspace only; Tab still moves on.
  amount->setFocus();
  amount->selectAll();
  QTest::keyClicks(amount, "4a5-");
  EXPECT_EQ(amount->text(), "45");
  QTest::keyClick(amount, Qt::Key_Backspace);
  EXPECT_EQ(amount->text(), "4");
  EXPECT_EQ(presenter.Control(ControlId::txtTime).text, "4");
  QTest::keyClick(amount, Qt::Key_Tab);
  EXPECT_NE(window_->focusWidget(), amount);

  Click(ControlId::optMinutes);
  Click(ControlId::chkRandom);
  Click(ControlId::chkAutostart);
  Click(ControlId::cmdSaveConf);
  EXPECT_EQ(system_.Setting("interval"), "240");
  EXPECT_EQ(system_.Setting("random"), "1");
  EXPECT_EQ(system_.Setting("autostart"), "0");
  EXPECT_FALSE(system_.runValue);
}

TEST_F(MainWindowTest, ListAndButtonEventsReachThePresenter) {
  Presenter& presenter = window_->presenter();
  const int changes = system_.setCount;  // entry 0 was applied at start

  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
  EXPECT_EQ(presenter.Selection(), 1);
  QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
  EXPECT_EQ(presenter.State().currentindex, 1);
  EXPECT_EQ(system_.setCount, changes + 1);

  Click(ControlId::cmdNext);  // due at the next tick
  WaitUntil([&] { return system_.setCount == changes + 2; });
  EXPECT_EQ(presenter.State().currentindex, 2);

  // Removing the selected middle row: the rows follow, the next row is selected.
  Click(ControlId::Command2);
  ASSERT_EQ(List()->count(), 2);
  EXPECT_EQ(List()->currentRow(), 1);
  EXPECT_EQ(presenter.Selection(), 1);
}

TEST_F(MainWindowTest, TheOpenDialogAddsFullPathsInOrderWhileTheClockTicks) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("scenewright-dialog-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  for (const char* name : {"b.jpg", "a.JPG", "c.gif"}) std::ofstream(folder / name) << "x";
  system_.now = 100;
  auto countdown = [&] { return Get<QLabel>(ControlId::lblNextChange)->text(); };
  WaitUntil([&] { return countdown().contains("3500"); });

  QString countdownWhileOpen;
  OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Open");
    EXPECT_EQ(dialog->nameFilters(), QStringList{"Pictures (*.jpg *.jpeg *.gif *.bmp)"});
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    system_.now = 130;  // ticks keep coming while the dialog is up
    QTest::qWait(300);
    countdownWhileOpen = countdown();
    dialog->setDirectory(QString::fromStdString(folder.string()));
    // Typed as a user would: two names, quoted, in the order they should be added.
    auto* names = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(names, nullptr);
    names->setText("\"c.gif\" \"a.JPG\"");
    static_cast<QDialog*>(dialog)->accept();
  });
  Click(ControlId::cmdAdd);
  fs::remove_all(folder);

  EXPECT_TRUE(countdownWhileOpen.contains("3470")) << countdownWhileOpen.toStdString();
  ASSERT_EQ(List()->count(), 5);
  EXPECT_EQ(List()->item(3)->text().toStdString(), (folder / "c.gif").string());
  EXPECT_EQ(List()->item(4)->text().toStdString(), (folder / "a.JPG").string());

  OnNextModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
  Click(ControlId::cmdAdd);
  EXPECT_EQ(List()->count(), 5);
}

TEST_F(MainWindowTest, TheTrayClickRestoresAndTheCloseShutsDownOnce) {
  window_->setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
  emit window_->trayIcon()->activated(QSystemTrayIcon::Context);  // nothing but the primary click
  EXPECT_TRUE(window_->isMinimized());
  // A hidden window's countdown catches up when it is shown again.
  window_->hide();
  system_.now += 30;
  window_->presenter().OnTimer();
  emit window_->trayIcon()->activated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(window_->isMinimized());
  EXPECT_FALSE(window_->isMaximized());  // normal, though it was maximised before
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(Get<QLabel>(ControlId::lblNextChange)->text().toStdString(), window_->presenter().Countdown());

  window_->presenter().OnListClick(1);
  window_->presenter().OnListDoubleClick();
  window_->close();
  EXPECT_TRUE(window_->presenter().ShutDownDone());
  EXPECT_EQ(system_.Setting("currentindex"), "1");
  system_.profile.WriteIniValue(FakeSystem::kSettingsFile, "General", "currentindex", "7");
  window_->ShutDown();  // a signal arriving after the close
  EXPECT_EQ(system_.Setting("currentindex"), "7");
}

}  // namespace
}  // namespace scenewright::qt

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
