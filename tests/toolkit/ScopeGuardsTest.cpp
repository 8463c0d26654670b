#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/model/ScopeGuards.h"

namespace {

// Every way out of a scope runs the undo once; a dismissed undo does not run.
TEST(ScopeExitTest, RunsOnEveryWayOutUnlessDismissed) {
  struct Case {
    const char* name;
    bool raise;
    bool dismiss;
    int runs;
  };
  for (const Case& c :
       {Case{"normal end", false, false, 1}, Case{"exception", true, false, 1},
        Case{"dismissed", false, true, 0}, Case{"exception before dismissing", true, true, 1}}) {
    SCOPED_TRACE(c.name);
    int runs = 0;
    try {
      ScopeExit undo([&] { ++runs; });
      if (c.raise) throw std::runtime_error("failed");
      if (c.dismiss) undo.Dismiss();
    } catch (const std::runtime_error&) {
      EXPECT_TRUE(c.raise);
    }
    EXPECT_EQ(runs, c.runs);
  }
}

TEST(ScopeExitTest, AnErrorOfTheUndoReachesTheCallerUnlessAnotherIsOnItsWay) {
  const auto failingUndo = [] { throw std::logic_error("undo failed"); };
  EXPECT_THROW({ const ScopeExit undo(failingUndo); }, std::logic_error);
  // While the work's own error is on its way, that one is reported.
  EXPECT_THROW(
      {
        const ScopeExit undo(failingUndo);
        throw std::runtime_error("work failed");
      },
      std::runtime_error);
}

TEST(ScopedValueTest, PutsTheOldValueBackOnEveryWayOut) {
  std::string path = "Font.";
  std::vector<int> sinks = {1, 2};
  {
    const ScopedValue savedPath(path, path + "Name.");
    const ScopedValue savedSinks(sinks, {3});
    EXPECT_EQ(path, "Font.Name.");
    EXPECT_EQ(sinks, std::vector<int>{3});
  }
  EXPECT_EQ(path, "Font.");
  EXPECT_EQ(sinks, (std::vector<int>{1, 2}));

  bool flag = false;
  EXPECT_THROW(
      {
        const ScopedValue set(flag, true);
        const ScopedValue kept(path);  // keeps the value whatever the scope writes
        path = "changed";
        throw std::runtime_error("failed");
      },
      std::runtime_error);
  EXPECT_FALSE(flag);
  EXPECT_EQ(path, "Font.");
}

}  // namespace
