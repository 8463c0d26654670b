// The figures docs/performance.md gives come from several runs of the benchmarks, each ratio the
// median of the runs with its range: a slip in that summary would misreport every figure.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace {

TEST(BenchRepeatTest, GivesEachRatioAsTheMedianOfTheRunsWithItsRange) {
  testsupport::TempDir dir;
  // Each run's ratios as bench.sh writes them: "label" ratio aim; labels hold spaces.
  const std::vector<std::string> runs = {
      "\"start-up\" 1.40 1.15\n\"20 MB install\" 1.09 1.10\n",
      "\"start-up\" 1.20 1.15\n\"20 MB install\" 1.11 1.10\n",
      "\"start-up\" 1.52 1.15\n\"20 MB install\" 1.04 1.10\n",
      "\"start-up\" 1.30 1.15\n\"20 MB install\" 1.07 1.10\n",
  };
  std::vector<std::string> files;
  for (size_t i = 0; i < runs.size(); ++i) {
    files.push_back(dir / ("ratios-" + std::to_string(i) + ".dat"));
    std::ofstream(files.back()) << runs[i];
  }
  auto summary = [&](size_t count) {
    std::vector<std::string> argv{BENCH_REPEAT, "--summary"};
    argv.insert(argv.end(), files.begin(), files.begin() + static_cast<std::ptrdiff_t>(count));
    const testsupport::ProcessResult result = testsupport::RunProcess(argv, {});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
  };
  // Three runs: the middle one; four: halfway between the two in the middle.
  EXPECT_EQ(summary(3),
            "\"start-up\"         1.40  (1.20-1.52)   1.15\n"
            "\"20 MB install\"    1.09  (1.04-1.11)   1.10\n");
  EXPECT_EQ(summary(4),
            "\"start-up\"         1.35  (1.20-1.52)   1.15\n"
            "\"20 MB install\"    1.08  (1.04-1.11)   1.10\n");
}

}  // namespace
