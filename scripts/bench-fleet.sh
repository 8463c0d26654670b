#!/usr/bin/env bash
# Times installing into many prefixes: N hosts (default 100, each a local connection with its own
# prefix and distribution) through the Ansible role with FORKS forks (default 5), beside N runs of
# the program from a shell loop over machines made the same way.
#   scripts/bench-fleet.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."

hosts=${1:-100}
forks=${FORKS:-5}
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release --target make_demo PolyverbSetup -j "$(nproc)" >/dev/null

root=$PWD/build/bench/fleet
rm -rf "$root"
machines() {  # $1: the set's folder
  for i in $(seq 1 "$hosts"); do
    build/release/tests/support/make_demo --dist "$1/h$i/dist" --packages 4,5 \
      --program build/release/installer/PolyverbSetup --prefix "$1/h$i/prefix" --installed 4,5 >/dev/null
  done
}
machines "$root/role"
machines "$root/loop"

inventory=$root/inventory.yml
{
  echo "polyverb:"
  echo "  hosts:"
  for i in $(seq 1 "$hosts"); do
    echo "    h$i: {polyverb_prefix: '$root/role/h$i/prefix', polyverb_dist: '$root/role/h$i/dist'}"
  done
  echo "  vars: {ansible_connection: local, ansible_python_interpreter: /usr/bin/python3}"
} >"$inventory"

seconds() { date +%s.%N; }
start=$(seconds)
ANSIBLE_ROLES_PATH=deploy/ansible/roles ANSIBLE_HOME=$root/ansible \
  ansible-playbook -i "$inventory" -f "$forks" deploy/ansible/polyverb.yml >"$root/play.log"
role=$(awk "BEGIN { print $(seconds) - $start }")
grep -c 'changed=1 .*failed=0' "$root/play.log" >"$root/changed" || true

start=$(seconds)
for i in $(seq 1 "$hosts"); do
  WINEPREFIX=$root/loop/h$i/prefix "$root/loop/h$i/dist/PolyverbSetup" --unattended --json >/dev/null 2>&1
done
loop=$(awk "BEGIN { print $(seconds) - $start }")

awk -v n="$hosts" -v f="$forks" -v r="$role" -v l="$loop" -v c="$(cat "$root/changed")" 'BEGIN {
  printf "%d hosts: the role with %d forks %.1f s (%.0f hosts a minute, %d changed); a shell loop %.1f s (%.0f a minute)\n",
    n, f, r, n * 60 / r, c, l, n * 60 / l }'
