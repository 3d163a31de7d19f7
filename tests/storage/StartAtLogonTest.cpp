#include "storage/StartAtLogon.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

using testing::FakeSystem;

TEST(StartAtLogon, TheValueNamesTheRunningExecutable) {
  FakeSystem system;
  EXPECT_TRUE(RegisterStartAtLogon(system.registry, system.program));
  EXPECT_EQ(system.registry.values[FakeSystem::kRunValue], "D:\\Tools\\Scenewright.exe");

  // Moved and renamed: the value follows, always with ".exe".
  system.program.folder = "E:\\Apps";
  system.program.baseName = "rotator";
  RegisterStartAtLogon(system.registry, system.program);
  EXPECT_EQ(system.registry.values[FakeSystem::kRunValue], "E:\\Apps\\rotator.exe");

  // A path with a space is quoted, so Windows cannot run the part before the space.
  system.program.folder = "C:\\Program Files\\Scenewright";
  RegisterStartAtLogon(system.registry, system.program);
  EXPECT_EQ(system.registry.values[FakeSystem::kRunValue], "\"C:\\Program Files\\Scenewright\\rotator.exe\"");
}

TEST(StartAtLogon, RemovalUsesTheOtherSpellingOfTheSameKey) {
  FakeSystem system;
  RegisterStartAtLogon(system.registry, system.program);
  UnregisterStartAtLogon(system.registry);
  EXPECT_TRUE(system.registry.values.empty());
  UnregisterStartAtLogon(system.registry);  // nothing there: harmless
  EXPECT_EQ(system.log.back(), "registry delete Scenewright");

  // Without rights nothing is written.
  system.registry.writable = false;
  RegisterStartAtLogon(system.registry, system.program);
  EXPECT_TRUE(system.registry.values.empty());
}

}  // namespace
}  // namespace scenewright
