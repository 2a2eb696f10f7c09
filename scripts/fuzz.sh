#!/usr/bin/env bash
# Runs the fuzzers: the character-table reader, the page reader and the picture loader, SECONDS
# each (default 30). The character-table and page corpora grow in fuzz/corpus/char_data and
# fuzz/corpus/page_reader; the picture corpus starts from seeds made afresh
# (fuzz/make_picture_seeds.sh). A crash's whole report goes to standard error and the script fails.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target char_data_fuzzer page_reader_fuzzer picture_fuzzer
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

run() {  # run NAME FUZZER [ARGS...]: prints the final statistics, or the whole log on a failure
  local name="$1" log="$work/$1.log"
  shift
  if "$@" -max_total_time="$seconds" -print_final_stats=1 >"$log" 2>&1; then
    echo "== fuzzer $name: $(grep -E '^#[0-9]+.*(DONE|cov:)' "$log" | tail -n 1)"
  else
    echo "== fuzzer $name FAILED; its whole output:" >&2
    cat "$log" >&2
    return 1
  fi
}

run char_data build/fuzz/bin/char_data_fuzzer -max_len=4096 fuzz/corpus/char_data
run page_reader build/fuzz/bin/page_reader_fuzzer -max_len=4096 fuzz/corpus/page_reader
bash fuzz/make_picture_seeds.sh "$work/pictures"
run picture build/fuzz/bin/picture_fuzzer -max_len=65536 -rss_limit_mb=4096 "$work/pictures"
