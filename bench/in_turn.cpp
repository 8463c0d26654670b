// Times programs started in turn: one start of each, then the next round. A shared or virtual
// machine changes speed from minute to minute, and timing one program's starts after the
// other's (as hyperfine does) lets such a change fall on one of them; started in turn, they
// meet the same minutes. Prints each program's median wall time, its quartiles, and its
// ratio to the first program's median.
//
//   in_turn ROUNDS PROGRAM [ARGS...] [';' PROGRAM [ARGS...]]...
//
// Each PROGRAM is a path, run without a shell, its output thrown away. Three rounds go first
// untimed, to warm the caches.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWarmRounds = 3;

// Wall time of one run in milliseconds; negative when it could not run or failed.
double TimeOneRun(std::vector<char*>& command) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execv(command[0], command.data());
    ::_exit(127);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 2 ? std::atoi(argv[1]) : 0;
  std::vector<std::vector<char*>> commands(1);
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], ";") == 0) {
      commands.emplace_back();
    } else {
      commands.back().push_back(argv[i]);
    }
  }
  if (rounds <= 0 || std::any_of(commands.begin(), commands.end(),
                                 [](const std::vector<char*>& c) { return c.empty(); })) {
    std::fprintf(stderr, "usage: in_turn ROUNDS PROGRAM [ARGS...] [';' PROGRAM [ARGS...]]...\n");
    return 2;
  }
  for (std::vector<char*>& command : commands)
    command.push_back(nullptr);

  std::vector<std::vector<double>> times(commands.size());
  for (int round = 0; round < kWarmRounds + rounds; ++round) {
    for (size_t k = 0; k < commands.size(); ++k) {
      const double ms = TimeOneRun(commands[k]);
      if (ms < 0) {
        std::fprintf(stderr, "in_turn: %s did not run to a clean end\n", commands[k][0]);
        return 1;
      }
      if (round >= kWarmRounds) times[k].push_back(ms);
    }
  }
  double first = 0;
  for (size_t k = 0; k < commands.size(); ++k) {
    std::vector<double>& t = times[k];
    std::sort(t.begin(), t.end());
    const double median = t[t.size() / 2];
    if (k == 0) first = median;
    std::string line;
    for (size_t i = 0; commands[k][i] != nullptr; ++i)
      line += (i ? " " : "") + std::string(commands[k][i]);
    std::printf("%8.2f ms  %5.3f  (quartiles %.2f-%.2f)  %s\n", median, median / first,
                t[t.size() / 4], t[t.size() * 3 / 4], line.c_str());
  }
  return 0;
}
