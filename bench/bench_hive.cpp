// Loading and saving a large hive, side by side with the plain work any program does
// on a file of that size: one pass that reads the bytes and counts the lines, and a
// plain copy of the file. The ratios are printed at the end.
//
//   bench_hive                    runs the benchmarks on a generated ~50 MB hive
//   bench_hive --roundtrip FILE   says whether FILE loads and saves byte-identical

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/hive/Hive.h"

namespace {

using platform::FileTime;
using platform::Hive;
using platform::RegValue;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(std::filesystem::file_size(path), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  return text;
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// A hive of roughly `targetBytes`, shaped like the system.reg of a fresh prefix: deep
// key paths with a few values each; strings (paths with backslashes and quotes, plain
// words, non-ASCII text) outnumber DWORDs, and about one value in six is hex data,
// mostly short, now and then long enough to wrap over many lines.
std::string GenerateHive(size_t targetBytes) {
  Hive hive = Hive::CreateEmpty("REGISTRY\\Machine");
  const FileTime time = 133'000'000'000'000'000;
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245 + 12345, (seed >> 8) & 0xFFFF; };
  const char* words[] = {"Alpha",
                         "beta",
                         "Gamma",
                         "delta",
                         "Epsilon",
                         "Gr\xC3\xBC\xC3\x9F"
                         "e",
                         "\xE4\xB8\xAD\xE6\x96\x87",
                         "Caf\xC3\xA9",
                         "Zeta",
                         "omega"};
  auto word = [&] { return std::string(words[next() % 10]); };
  size_t approx = 0;
  const Hive::KeyId software = hive.CreateChild(Hive::kRoot, "Software\\Classes", time);
  for (int vendor = 0; approx < targetBytes; ++vendor) {
    const Hive::KeyId v =
        hive.CreateChild(software, "Vendor " + std::to_string(vendor) + " " + word(), time);
    for (int product = 0; product < 8 && approx < targetBytes; ++product) {
      const Hive::KeyId p =
          hive.CreateChild(v, word() + " Product " + std::to_string(product), time);
      for (int setting = 0; setting < 16 && approx < targetBytes; ++setting) {
        const std::string path = "CurrentVersion\\Settings\\Section" + std::to_string(setting);
        const Hive::KeyId s = hive.CreateChild(p, path, time);
        approx += 125;  // key line, time and the blank line before them
        const int values = 1 + static_cast<int>(next() % 5);
        for (int i = 0; i < values; ++i) {
          const std::string name = i == 0 ? std::string() : word() + std::to_string(i);
          const uint32_t kind = next() % 12;
          if (kind < 4) {
            const std::string text = "C:\\Program Files\\" + word() + "\\\"quoted\" bin\\tool" +
                                     std::to_string(next()) + ".exe";
            hive.SetValue(s, RegValue::String(name, text), time);
            approx += name.size() + text.size() + 12;
          } else if (kind < 7) {
            const std::string text = word() + " " + word() + " " + std::to_string(next());
            hive.SetValue(s, RegValue::String(name, text), time);
            approx += name.size() + text.size() + 12;
          } else if (kind < 10) {
            hive.SetValue(s, RegValue::Dword(name, next() * 7919u), time);
            approx += name.size() + 20;
          } else {
            RegValue binary{name, platform::REG_BINARY, {}};
            const size_t length = next() % 16 == 0 ? 100 + next() % 400 : 2 + next() % 24;
            for (size_t b = 0; b < length; ++b)
              binary.data += static_cast<char>(next());
            approx += name.size() + length * 3 + 12;
            hive.SetValue(s, std::move(binary), time);
          }
        }
      }
    }
  }
  return hive.Render();
}

struct Fixture {
  std::string dir;
  std::string hivePath;
  std::string copyPath;
  size_t bytes = 0;

  Fixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bench_hive.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("bench_hive: no temporary folder");
      std::exit(1);
    }
    dir = pattern;
    hivePath = dir + "/user.reg";
    copyPath = dir + "/copy.reg";
    const std::string text = GenerateHive(50u << 20);
    bytes = text.size();
    WriteAll(hivePath, text);
  }
  ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

void BM_PlainPass(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    const std::string text = ReadAll(f.hivePath);
    size_t lines = 0;
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', text.data() + text.size() - p))); ++p) {
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
}

void BM_Load(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    Hive hive = Hive::Parse(ReadAll(f.hivePath));
    benchmark::DoNotOptimize(hive.writable());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
}

void BM_PlainCopy(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state)
    WriteAll(f.copyPath, ReadAll(f.hivePath));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
}

void BM_Save(benchmark::State& state) {
  Fixture& f = TheFixture();
  const Hive hive = Hive::Parse(ReadAll(f.hivePath));
  for (auto _ : state)
    WriteAll(f.copyPath, hive.Render());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
}

// The same, after the kind of change a setup program makes: a few values in a few keys.
void BM_SaveChanged(benchmark::State& state) {
  Fixture& f = TheFixture();
  Hive hive = Hive::Parse(ReadAll(f.hivePath));
  const Hive::KeyId classes = hive.FindChild(Hive::kRoot, "Software\\Classes").value();
  const Hive::KeyId vendor = hive.FindChild(classes, hive.SubKeyNames(classes).at(3)).value();
  const Hive::KeyId ours = hive.CreateChild(vendor, "Setup", 1);
  hive.SetValue(ours, RegValue::String("InstallDir", "C:\\Program Files\\Setup"), 1);
  hive.SetValue(vendor, RegValue::Dword("Installed", 1), 1);
  for (auto _ : state)
    WriteAll(f.copyPath, hive.Render());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
}

BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SaveChanged)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps each benchmark's time per iteration so the ratios can be printed after the run:
// wall-clock time, and CPU time, which a busy machine disturbs less.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations <= 0) continue;
      const auto iterations = static_cast<double>(run.iterations);
      times_[run.run_name.function_name] = {run.real_accumulated_time / iterations,
                                            run.cpu_accumulated_time / iterations};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    auto ratio = [this](const char* a, const char* b) {
      const auto x = times_.find(a);
      const auto y = times_.find(b);
      if (x == times_.end() || y == times_.end() || y->second.first <= 0 || y->second.second <= 0)
        return;
      std::printf("%-30s %5.2f   %5.2f\n", (std::string(a) + " / " + b).c_str(),
                  x->second.first / y->second.first, x->second.second / y->second.second);
    };
    std::printf("\nhive of %.1f MB                 wall     cpu\n",
                static_cast<double>(TheFixture().bytes) / (1 << 20));
    ratio("BM_Load", "BM_PlainPass");
    ratio("BM_Save", "BM_PlainCopy");
    ratio("BM_SaveChanged", "BM_PlainCopy");
  }

 private:
  std::map<std::string, std::pair<double, double>> times_;  // wall and CPU seconds
};

int RoundTrip(const char* path) {
  const std::string text = ReadAll(path);
  const Hive hive = Hive::Parse(text);
  const bool same = hive.Render() == text;
  std::printf("%s: %s (%zu bytes, %zu diagnostics%s)\n", path,
              same ? "byte-identical round trip" : "ROUND TRIP DIFFERS", text.size(),
              hive.diagnostics().size(), hive.writable() ? "" : ", not writable");
  return same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--roundtrip") == 0) return RoundTrip(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  TheFixture();  // generate the hive before anything is timed
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
