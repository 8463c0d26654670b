// The machine hive wineboot writes is one the slicer follows, and its slice answers the lookups
// of the program's keys as the whole file does: a newer Wine that writes its files otherwise
// would leave every start-up reading the whole file, and this says so.

#include <gtest/gtest.h>

#include "platform/hive/Hive.h"
#include "platform/hive/Slicing.h"
#include "tests/support/HiveReadingCheck.h"
#include "tests/support/HiveSliceCheck.h"
#include "tests/support/TempDir.h"
#include "tests/support/WineTools.h"

namespace platform {
namespace {

TEST(HiveSliceWineTest, TheMachineHiveWinebootWritesIsSliced) {
  if (!testsupport::WineInstalled()) GTEST_SKIP() << "wine is not installed: interop skipped";
  const std::string& prefix = testsupport::TemplatePrefix();
  ASSERT_FALSE(prefix.empty()) << "wineboot could not make a prefix";
  const std::string text = testsupport::ReadFile(prefix + "/system.reg");
  // The Delphi key where the 32-bit view can find it, and keys on the way that Wine fills.
  const HiveKeyPaths keys = {{"Software", "Borland", "Delphi", "5.0"},
                             {"Software", "Wow6432Node", "Borland", "Delphi", "5.0"},
                             {"Software", "Microsoft", "Windows NT", "CurrentVersion"},
                             {"Software", "Microsoft", "Windows", "CurrentVersion", "Time Zones"}};
  std::optional<std::string> slice = SliceHiveText(text, {keys[0], keys[1]});
  ASSERT_TRUE(slice.has_value());
  EXPECT_LT(slice->size() * 20, text.size());
  const Hive whole = Hive::Parse(text);
  EXPECT_EQ(testsupport::SliceDifferences(whole, Hive::Parse(*slice), {keys[0], keys[1]}),
            std::vector<std::string>{});
  slice = SliceHiveText(text, {keys[2]});
  ASSERT_TRUE(slice.has_value());
  EXPECT_EQ(testsupport::SliceDifferences(whole, Hive::Parse(*slice), {keys[2]}),
            std::vector<std::string>{});
  // The time zones are a link: their lookups go elsewhere, and the whole file is read.
  EXPECT_FALSE(SliceHiveText(text, {keys[3]}).has_value());
}

// Wine writes its keys in the order the loader reads as needed; a Wine that wrote them otherwise
// would have every hive read whole again.
TEST(HiveSliceWineTest, TheHivesWinebootWritesAreReadAsNeeded) {
  if (!testsupport::WineInstalled()) GTEST_SKIP() << "wine is not installed: interop skipped";
  const std::string& prefix = testsupport::TemplatePrefix();
  ASSERT_FALSE(prefix.empty()) << "wineboot could not make a prefix";
  for (const char* file : {"/system.reg", "/user.reg", "/userdef.reg"}) {
    SCOPED_TRACE(file);
    const std::string text = testsupport::ReadFile(prefix + file);
    EXPECT_TRUE(testsupport::LoadsWithoutReadingKeys(text));
    EXPECT_EQ(testsupport::KeyReadingDifferences(text), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace platform
