// One program per desktop: a second start is told so and ends, the first
// goes on.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/window/single_instance.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

TEST(SingleInstance, SecondStartIsRefusedAndTheFirstGoesOn) {
  TestApplication();
  QTemporaryDir folder;
  const QString path = folder.filePath("desktop.lock");
  SingleInstanceLock first(path);
  ASSERT_TRUE(first.TryLock());
  FormUnderTest running;
  running.form->show();

  SingleInstanceLock second(path);
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  EXPECT_TRUE(RefuseSecondInstance(second));
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "すでに起動されています。");
  EXPECT_EQ(answerer.seen()[0].caption, "警告");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
  EXPECT_EQ(answerer.seen()[0].buttons, QMessageBox::Ok);

  EXPECT_TRUE(running.form->isVisible());
  EXPECT_TRUE(first.TryLock());
  SingleInstanceLock third(path);
  EXPECT_FALSE(third.TryLock());
}

TEST(SingleInstance, FirstStartAndStartAfterTheEndGoAhead) {
  TestApplication();
  QTemporaryDir folder;
  const QString path = folder.filePath("desktop.lock");
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  {
    SingleInstanceLock first(path);
    EXPECT_FALSE(RefuseSecondInstance(first));
  }
  SingleInstanceLock later(path);
  EXPECT_FALSE(RefuseSecondInstance(later));
  EXPECT_TRUE(answerer.seen().empty());
}

TEST(SingleInstance, OneLockPerDisplay) {
  TestApplication();
  const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
  const QByteArray x11 = qgetenv("DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  qputenv("DISPLAY", ":1");
  const QString one = SingleInstanceLock::DesktopLockPath();
  qputenv("DISPLAY", ":2");
  const QString two = SingleInstanceLock::DesktopLockPath();
  qputenv("WAYLAND_DISPLAY", "wayland-0");
  const QString three = SingleInstanceLock::DesktopLockPath();
  qputenv("WAYLAND_DISPLAY", wayland);
  qputenv("DISPLAY", x11);
  EXPECT_NE(one, two);
  EXPECT_NE(two, three);
  EXPECT_TRUE(one.endsWith(":1.lock"));
  EXPECT_TRUE(three.endsWith("wayland-0.lock"));
}

}  // namespace
}  // namespace app::test
