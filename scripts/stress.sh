#!/usr/bin/env bash
# The stress tests at their full counts, in the normal build: a writer killed 1000 times in the
# middle of its changes to a real Wine user.reg, and as many times in the middle of its changes
# to a settings file (CI kills each 200 times); an install run killed 500 times, each kill followed
# by a whole install and an uninstall (CI: 30); writers changing one hive, and one settings file,
# at the same time; a disk failing during an install run. Prints what each test did.
#   STRESS_KILLS=N           kills per writer kill test (1000)
#   STRESS_INSTALL_KILLS=N   kills of install runs (500)
#   STRESS_SEED=N            repeats a run's kill moments (each run prints its seed)
# Arguments go to the test program (e.g. --gtest_filter=HiveKill*).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release -j "$(nproc)" --target stress_tests

log=build/release/stress.log
STRESS_KILLS=${STRESS_KILLS:-1000} STRESS_INSTALL_KILLS=${STRESS_INSTALL_KILLS:-500} \
  build/release/tests/stress/stress_tests "$@" | tee "$log"

echo "== what the stress tests did =="
grep -E '^(random seed|hive kill test|settings kill test|install kill test|[0-9]+ writers)' "$log" || true
