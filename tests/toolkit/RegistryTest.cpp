#include "toolkit/model/Registry.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/Machine.h"
#include "tests/support/TempDir.h"
#include "toolkit/model/StringList.h"

namespace {

class TRegistryTest : public ::testing::Test {
 protected:
  TRegistryTest()
      : scope(platform::Machine::Use(
            std::make_unique<platform::Machine>(platform::WinePrefix(dir.path())))) {}

  testsupport::TempDir dir;
  platform::Machine::Scope scope;
};

TEST_F(TRegistryTest, OpensCreatesAndReadsBack) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey("Software\\Zav\\Designers", false));
  ASSERT_TRUE(reg.OpenKey("Software\\Zav\\Designers", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Zav\\Designers");
  reg.WriteString("Language", "Deutsch");
  EXPECT_TRUE(reg.ValueExists("language"));
  EXPECT_EQ(reg.ReadString("LANGUAGE"), "Deutsch");
  EXPECT_EQ(reg.ReadString("Missing"), "");  // absent reads as empty

  // Relative to the open key, and absolute from the root.
  ASSERT_TRUE(reg.OpenKey("Polyverb\\Install", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Zav\\Designers\\Polyverb\\Install");
  ASSERT_TRUE(reg.OpenKey("\\Software\\Zav\\Designers", false));
  EXPECT_EQ(reg.ReadString("Language"), "Deutsch");

  TStringList names;
  reg.GetKeyNames(&names);
  ASSERT_EQ(names.Count(), 1);
  EXPECT_EQ(names.Strings(0), "Polyverb");
}

TEST_F(TRegistryTest, WrongTypesAndMissingKeysRaise) {
  TRegistry reg;
  EXPECT_THROW(reg.ReadString("x"), ERegistryException);  // no key open
  ASSERT_TRUE(reg.OpenKey("Software\\T", true));
  reg.WriteInteger("n", -5);
  EXPECT_EQ(reg.ReadInteger("n"), -5);
  EXPECT_THROW(reg.ReadString("n"), ERegistryException);
  reg.WriteString("s", "text");
  EXPECT_THROW(reg.ReadInteger("s"), ERegistryException);
  EXPECT_TRUE(reg.DeleteValue("s"));
  EXPECT_FALSE(reg.DeleteValue("s"));
}

TEST_F(TRegistryTest, RefusedWriteCarriesThePlatformReason) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\X", true));
  // The hive is replaced by one this program may not rewrite.
  testsupport::WriteFile(dir / "user.reg", "WINE REGISTRY Version 9\n");
  try {
    reg.WriteString("a", "b");
    FAIL() << "the write was not refused";
  } catch (const ERegistryException& e) {
    EXPECT_NE(e.Message.find("'a'"), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("user.reg"), std::string::npos) << e.Message;
  }
  EXPECT_FALSE(reg.OpenKey("Software\\Y", true));

  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.HasCurrentKey());  // changing the root closes the key
  ASSERT_TRUE(reg.OpenKey("Software\\Ok", true));
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Ok"));
  EXPECT_THROW(reg.WriteString("a", "b"), ERegistryException);
}

}  // namespace
