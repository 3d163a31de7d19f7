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

TEST(StartAtLogon, MachineWideWhereAllowedElseForThisUser) {
  using Values = std::map<std::string, std::string>;
  const std::string exe = "D:\\Tools\\Scenewright.exe", old = "E:\\Old\\Scenewright.exe";
  const Values machine{{FakeSystem::kRunValue, exe}}, user{{FakeSystem::kUserRunValue, exe}};
  struct Case {
    const char* name;
    bool machineWritable, userWritable;
    bool registered;
    Values afterRegister, afterUnregister;
  };
  for (const Case& c : {
           // An administrator's own old per-user value would start the program twice.
           Case{"administrator", true, true, true, machine, {}},
           Case{"ordinary user", false, true, true, {{FakeSystem::kRunValue, old}, {FakeSystem::kUserRunValue, exe}},
                {{FakeSystem::kRunValue, old}}},
           Case{"nothing writable", false, false, false, {{FakeSystem::kRunValue, old}, {FakeSystem::kUserRunValue, old}},
                {{FakeSystem::kRunValue, old}, {FakeSystem::kUserRunValue, old}}},
       }) {
    SCOPED_TRACE(c.name);
    FakeSystem system;
    system.registry.values = {{FakeSystem::kRunValue, old}, {FakeSystem::kUserRunValue, old}};
    system.registry.writable = c.machineWritable;
    system.registry.userWritable = c.userWritable;
    EXPECT_EQ(RegisterStartAtLogon(system.registry, system.program), c.registered);
    EXPECT_EQ(system.registry.values, c.afterRegister);
    UnregisterStartAtLogon(system.registry);
    EXPECT_EQ(system.registry.values, c.afterUnregister);
    UnregisterStartAtLogon(system.registry);  // nothing there: harmless
    EXPECT_EQ(system.registry.values, c.afterUnregister);
  }
}

}  // namespace
}  // namespace scenewright
