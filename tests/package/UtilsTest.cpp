#include <gtest/gtest.h>

#include <string>

#include "package/Errors.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "toolkit/model/Classes.h"

namespace {

TOOLKIT_ENUM(TSampleStore, ssRegistry, ssFile)
enum class PlainSelector { First, Second };

TEST(ReplaceAllTest, ReplacesEveryOccurrenceWithoutSearchingTheReplacement) {
  // The history text of a combo box, one way and back.
  EXPECT_EQ(ReplaceAll("C:\\a\r\nC:\\b\r\n", "\r\n", ";"), "C:\\a;C:\\b;");
  EXPECT_EQ(ReplaceAll("C:\\a;;C:\\b;", ";", "\r\n"), "C:\\a\r\n\r\nC:\\b\r\n");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(ReplaceAll("abab", "ab", ""), "");
  EXPECT_EQ(ReplaceAll("text", "", "x"), "text");
  EXPECT_EQ(ReplaceAll("", "a", "b"), "");
}

class TRecordingObject : public TObject {
 public:
  explicit TRecordingObject(TRecordingObject** Seen) : seen_(Seen) {}
  ~TRecordingObject() override { freedWhileVariableHeld = (*seen_ != nullptr); }

  static inline bool freedWhileVariableHeld = true;

 private:
  TRecordingObject** seen_;
};

TEST(DeleteClassTest, FreesTheObjectAndEmptiesTheVariableFirst) {
  TRecordingObject* object = nullptr;
  object = new TRecordingObject(&object);
  DeleteClass(object);
  EXPECT_EQ(object, nullptr);
  EXPECT_FALSE(TRecordingObject::freedWhileVariableHeld);
  DeleteClass(object);  // an empty variable is fine
  EXPECT_EQ(object, nullptr);
}

TEST(CaseErrorTest, NamesTheValueAndWhereItWasNotHandled) {
  try {
    CaseError("TConfigFile.Load", ssFile);
    FAIL();
  } catch (const Exception& error) {  // reaches the program's catch-all as any error
    EXPECT_STREQ(error.ClassName(), "ECriticalError");
    EXPECT_EQ(error.Message, "Unhandled case value ssFile in TConfigFile.Load");
  }
  try {
    CaseError("Run", PlainSelector::Second);
    FAIL();
  } catch (const ECriticalError& error) {
    EXPECT_EQ(error.Message, "Unhandled case value 1 in Run");
  }
}

TEST(UnitVersionTest, RecordsTheLinesOfTheUnitsThatStarted) {
  EXPECT_TRUE(UnitVersion("UtilsTest.cpp 1.0"));
  const std::vector<std::string> lines = UnitVersions();
  EXPECT_EQ(lines.back(), "UtilsTest.cpp 1.0");
  // The package's own units recorded theirs at start.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Polyverb.cpp 1.0"), lines.end());
}

}  // namespace
