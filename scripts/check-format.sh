#!/usr/bin/env bash
# Checks that the C++ lines changed since the branch left main are laid out as .clang-format says;
# lines nobody touched are left as they are. Prints what clang-format would change and fails if
# anything. Usage: scripts/check-format.sh [base]
#   base: a commit to compare with (default: the merge-base with origin/main, or else with main; on
#   main itself, or with no main at all, the last commit's changes). Uncommitted changes count too.
set -euo pipefail
cd "$(dirname "$0")/.."

formatDiff=""
for candidate in clang-format-diff-14 clang-format-diff; do
  if command -v "$candidate" >/dev/null; then formatDiff="$candidate"; break; fi
done
if [[ -z "$formatDiff" ]]; then
  echo "check-format: clang-format-diff is missing (Debian: apt install clang-format, or scripts/install-deps.sh)" >&2
  exit 1
fi
binary=clang-format-14
command -v "$binary" >/dev/null || binary=clang-format

base="${1:-}"
if [[ -z "$base" ]]; then
  for main in origin/main main; do
    if git rev-parse -q --verify "$main^{commit}" >/dev/null; then
      base=$(git merge-base "$main" HEAD) || base=""
      break
    fi
  done
  if [[ -z "$base" || "$base" == "$(git rev-parse HEAD)" ]]; then
    # A fresh clone of main: its last commit is what changed. A clone of one commit (--depth 1)
    # has nothing to compare with, and the lines nobody changed are not held to the layout.
    if ! base=$(git rev-parse -q --verify 'HEAD~1^{commit}'); then
      echo "check-format: no earlier commit to compare with; nothing checked"
      exit 0
    fi
  fi
fi

changes=$(git diff -U0 --no-color --no-ext-diff "$base" -- '*.cpp' '*.h' | "$formatDiff" -p1 -binary "$binary")
if [[ -n "$changes" ]]; then
  printf '%s\n' "$changes"
  echo "check-format: the changed lines above are not laid out as .clang-format says (since $(git rev-parse --short "$base"));" \
       "clang-format-diff -p1 -i applies it: git diff -U0 $(git rev-parse --short "$base") | $formatDiff -p1 -i" >&2
  exit 1
fi
echo "check-format: the changed C++ lines since $(git rev-parse --short "$base") are formatted"
