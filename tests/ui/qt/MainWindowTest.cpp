// The Qt window over the in-memory services: its layout and the events only the widgets can show.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "fakes/FakeServices.h"
#include "ui/qt/MainWindow.h"

namespace scenewright::qt {
namespace {

using scenewright::testing::FakeSystem;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system_.WriteListFile(system_.MakePictures(3));
    window_ = std::make_unique<MainWindow>(system_.services());
    QPixmap icon(16, 16);
    icon.fill(Qt::darkCyan);
    window_->setWindowIcon(icon);  // the program's own comes from its resources
    window_->presenter().OnLoad();
    window_->show();
  }

  QWidget* Get(ControlId id) { return window_->control(id); }
  QListWidget* List() { return qobject_cast<QListWidget*>(Get(ControlId::lstWall)); }
  QString Countdown() { return qobject_cast<QLabel*>(Get(ControlId::lblNextChange))->text(); }
  void Click(ControlId id) { QTest::mouseClick(Get(id), Qt::LeftButton); }
  QPoint RowCentre(int row) { return List()->visualItemRect(List()->item(row)).center(); }

  FakeSystem system_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, BuildsEveryControlAtItsPlaceWithItsTextAndTabOrder) {
  EXPECT_EQ(window_->size(), QSize(462, 290));
  window_->resize(900, 700);  // the layout does not follow the window's size
  for (const ControlSpec& spec : kControls) {
    SCOPED_TRACE(spec.name);
    QWidget* widget = Get(spec.id);
    EXPECT_EQ(widget->objectName().toStdString(), spec.name);
    EXPECT_EQ(widget->parentWidget()->objectName().toStdString(),
              spec.container ? kControls[static_cast<std::size_t>(*spec.container)].name : "Form1");
    // 15 twips a logical pixel; the preview image sits inside its frame's 2-pixel border.
    const int border = spec.id == ControlId::Picture2 ? 2 : 0;
    EXPECT_EQ(widget->geometry(), QRect(spec.rect.left / 15 + border, spec.rect.top / 15 + border,
                                        spec.rect.width / 15, spec.rect.height / 15));
    EXPECT_EQ(widget->isVisibleTo(window_.get()), spec.visible);
  }
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(qobject_cast<QCheckBox*>(Get(ControlId::chkAutostart))->text().toStdString(), "Start At Login");

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

TEST_F(MainWindowTest, ClicksReachThePresenterAndTheCloseShutsDownOnce) {
  const int changes = system_.setCount;  // entry 0 was applied at start
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
  QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
  EXPECT_EQ(window_->presenter().State().currentindex, 1);
  Click(ControlId::cmdNext);  // due at the next tick
  EXPECT_TRUE(QTest::qWaitFor([&] { return system_.setCount == changes + 2; }));
  EXPECT_EQ(window_->presenter().State().currentindex, 2);
  Click(ControlId::Command2);  // the selected middle row: the next row is selected
  ASSERT_EQ(List()->count(), 2);
  EXPECT_EQ(List()->currentRow(), 1);

  Click(ControlId::chkChangeTime);
  EXPECT_FALSE(Get(ControlId::txtTime)->isEnabled());

  window_->setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
  window_->hide();
  emit window_->trayIcon()->activated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(window_->isMinimized() || window_->isMaximized());  // normal, though it was maximised
  EXPECT_TRUE(window_->isVisible());

  window_->close();
  EXPECT_EQ(system_.Setting("currentindex"), std::to_string(window_->presenter().State().currentindex));
  system_.profile.WriteIniValue(FakeSystem::kSettingsFile, "General", "currentindex", "7");
  window_->ShutDown();  // a signal arriving after the close
  EXPECT_EQ(system_.Setting("currentindex"), "7");
}

TEST_F(MainWindowTest, TheOpenDialogAddsFullPathsInOrderWhileTheClockTicks) {
  QTemporaryDir folder;
  for (const char* name : {"b.jpg", "a.JPG", "c.gif"}) QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
  system_.now = 100;
  ASSERT_TRUE(QTest::qWaitFor([&] { return Countdown().contains("3500"); }));

  QString countdownWhileOpen;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->nameFilters(), QStringList({"Pictures (*.jpg *.jpeg *.gif *.bmp)", "Other pictures (*.png *.tif)"}));
    EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters().front());
    system_.now = 130;  // ticks keep coming while the dialog is up
    QTest::qWait(300);
    countdownWhileOpen = Countdown();
    dialog->setDirectory(folder.path());
    // Typed as a user would: two names, quoted, in the order they should be added.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("\"c.gif\" \"a.JPG\"");
    static_cast<QDialog*>(dialog)->accept();
  });
  Click(ControlId::cmdAdd);
  EXPECT_TRUE(countdownWhileOpen.contains("3470")) << countdownWhileOpen.toStdString();
  ASSERT_EQ(List()->count(), 5);
  EXPECT_EQ(List()->item(3)->text(), folder.filePath("c.gif"));
  EXPECT_EQ(List()->item(4)->text(), folder.filePath("a.JPG"));
}

// The events a file manager's drag brings to the list; the list file is written once after it.
TEST_F(MainWindowTest, FilesAndFoldersDroppedOnTheListAreAddedInNameOrderAndSavedOnce) {
  for (const std::string path : {"/drop/c.gif", "/drop/a.png", "/drop/B.jpg", "/drop/notes.txt", "/drop/sub/d.jpg", "/one.gif"}) {
    system_.files.files[path] = "";
    if (!path.ends_with(".txt")) system_.decodable[path] = "1x1";
  }
  QMimeData files;  // a picture, a folder (not its subfolder), a web address, a path that is nothing
  files.setUrls({QUrl::fromLocalFile("/one.gif"), QUrl::fromLocalFile("/drop"), QUrl("https://example.com/e.jpg"),
                 QUrl::fromLocalFile("/none.jpg")});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {});
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {});
  const int writes = system_.files.writes;
  for (QEvent* event : std::initializer_list<QEvent*>{&enter, &drop}) QApplication::sendEvent(List()->viewport(), event);
  ASSERT_TRUE(QTest::qWaitFor([&] { return List()->count() == 7; }));
  EXPECT_TRUE(system_.files.files[FakeSystem::kListFile].ends_with("jpg\r\n/one.gif\r\n/drop/a.png\r\n/drop/B.jpg\r\n/drop/c.gif\r\n"));
  EXPECT_EQ(system_.files.writes, writes + 1);
}

}  // namespace
}  // namespace scenewright::qt

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
