#!/usr/bin/env bash
# Runs the character-table fuzzer for the given number of seconds (default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target char_data_fuzzer
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp fuzz/corpus/* "$work/"
build/fuzz/bin/char_data_fuzzer -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$work" 2>&1 | tail -n 12
