#!/usr/bin/env python3
"""Mutation testing for Moza: how many small faults in the code do the tests catch?

Makes one small change at a time in the core, the picture loader, the command line, the art
view and the desktop program's logic its tests reach (a relational or equality operator flipped, && and || swapped, an integer constant moved by one, a
check, increment, break or early return deleted), rebuilds the test programs of the layers that
can see the change incrementally, runs them with a timeout, and reports the score and every mutant the
tests let live. A mutant that does not compile counts for nothing.

    tools/mutation/mutate.py --count 100 --seed 1     # a sample: about 30 minutes here
    tools/mutation/mutate.py --all                    # every mutant: overnight
    tools/mutation/mutate.py --list                   # the mutants, without running anything
    tools/mutation/mutate.py --replay old.json        # the mutants of an earlier report, again
    tools/mutation/mutate.py --all --resume           # every mutant the report does not hold yet
    tools/mutation/mutate.py --only src/ui/art --count 100 --seed 1   # the art view alone

The report is written after every mutant, so a long run stopped by Ctrl+C, a shutdown or a lost
session goes on where it ended with --resume (same --report).

The sources are changed in place and always put back (also on Ctrl+C); run it on a clean tree.
The build lives in build/mutation (release, without the browser engine, tools or benchmarks); the
desktop program's tests run without a display (Qt's offscreen platform).
"""

import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.join(ROOT, "build", "mutation")
# Folders, and single files of folders whose other files only tests with a window on screen reach.
FOLDERS = ["src/common", "src/glyph", "src/convert", "src/picture", "src/cli", "src/ui/art",
           "src/ui/dialog_folders.cpp", "src/ui/failure_text.cpp", "src/ui/start_options.cpp", "src/ui/make_job.cpp"]

# The test programs that can see a change in each folder (a layer and the layers above it).
TESTS = {
    "src/common": ["moza_common_tests", "moza_glyph_tests", "moza_convert_tests", "moza_picture_tests", "moza_cli_options_tests", "moza_cli_tests"],
    "src/glyph": ["moza_glyph_tests", "moza_convert_tests", "moza_cli_options_tests", "moza_cli_tests"],
    "src/convert": ["moza_convert_tests", "moza_picture_tests", "moza_cli_options_tests", "moza_cli_tests"],
    "src/picture": ["moza_picture_tests", "moza_cli_tests"],
    "src/cli": ["moza_cli_options_tests", "moza_cli_tests"],
    "src/ui/art": ["moza_ui_art_tests", "moza_ui_tests"],
    "src/ui": ["moza_ui_tests"],
}

# Operators swapped for their neighbours; written with spaces around them, as the code base
# writes comparisons (templates and streams are not).
SWAPS = {" < ": [" <= "], " <= ": [" < "], " > ": [" >= "], " >= ": [" > "],
         " == ": [" != "], " != ": [" == "], " && ": [" || "], " || ": [" && "]}
NUMBER = re.compile(r"(?<![\w.])(0x[0-9A-Fa-f]+|\d+)(u|U|ul|UL|ull|ULL)?(?![\w.])")
DELETABLE = re.compile(r"^\s*(if \(.*\) (return|continue|break)\b.*;|\+\+\w+;|\w+\+\+;|--\w+;|continue;|break;"
                       r"|return (Error|success|false|true|std::nullopt)\b.*;)\s*$")


def code_spans(line):
    """The parts of a line outside string and character literals and comments."""
    spans, start, i, quote = [], 0, 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote, start = None, i + 1
        elif c in "\"'":
            spans.append((start, i))
            quote = c
        elif line.startswith("//", i):
            spans.append((start, i))
            return spans
        i += 1
    if not quote:
        spans.append((start, len(line)))
    return spans


def windows_only(lines):
    """Indexes of the lines inside #ifdef _WIN32 branches (or the #else of #ifndef _WIN32): this
    build never compiles them, so their mutants could not be told from the original."""
    skipped, stack = set(), []  # per open #if: None (not about Windows), or whether Windows-only now
    for n, line in enumerate(lines):
        text = line.strip()
        if re.match(r"#\s*if(def)?\b.*_WIN32", text) and "!" not in text:
            stack.append(True)
        elif re.match(r"#\s*(ifndef\s+_WIN32|if\s+!\s*defined\s*\(?\s*_WIN32)", text):
            stack.append(False)
        elif re.match(r"#\s*if", text):
            stack.append(None)
        elif re.match(r"#\s*else", text) and stack and stack[-1] is not None:
            stack[-1] = not stack[-1]
        elif re.match(r"#\s*endif", text) and stack:
            stack.pop()
        elif any(stack):
            skipped.add(n)
    return skipped


def mutants_of(path):
    """(line index, description, new line) for every mutant of one file."""
    found = []
    lines = open(os.path.join(ROOT, path), encoding="utf-8").read().split("\n")
    skipped = windows_only(lines)
    for n, line in enumerate(lines):
        stripped = line.strip()
        if n in skipped:
            continue
        if not stripped or stripped.startswith(("#", "//", "///", "*", "/*")) or "static_assert" in line:
            continue
        for start, end in code_spans(line):
            part = line[start:end]
            for old, news in SWAPS.items():
                for m in re.finditer(re.escape(old), part):
                    for new in news:
                        at = start + m.start()
                        found.append((n, f"'{old.strip()}' -> '{new.strip()}'", line[:at] + new + line[at + len(old):]))
            for m in NUMBER.finditer(part):
                text, suffix = m.group(1), m.group(2) or ""
                if len(text) > 1 and text[0] == "0" and text[1] not in "xX":
                    continue  # octal permission bits: moved by one they stay plausible modes
                value = int(text, 0)
                for moved in (value + 1, value - 1):
                    if moved < 0:
                        continue
                    new_text = hex(moved) if text.lower().startswith("0x") else str(moved)
                    at = start + m.start()
                    found.append((n, f"{text} -> {new_text}", line[:at] + new_text + suffix + line[start + m.end():]))
        if DELETABLE.match(line):
            found.append((n, "statement deleted", re.match(r"^\s*", line).group(0) + ";"))
    return found


def sources():
    """The files of FOLDERS that are mutated, in order."""
    for entry in FOLDERS:
        if os.path.isfile(os.path.join(ROOT, entry)):
            yield entry
            continue
        for name in sorted(os.listdir(os.path.join(ROOT, entry))):
            if name.endswith((".cpp", ".h")):
                yield f"{entry}/{name}"


def all_mutants():
    result = []
    for path in sources():
        for n, what, new in mutants_of(path):
            original = open(os.path.join(ROOT, path), encoding="utf-8").read().split("\n")[n]
            result.append({"file": path, "line": n + 1, "what": what, "old": original, "new": new})
    return result


def replayed(report):
    """The mutants of an earlier report, found again by their line's text where code has moved."""
    result = []
    for m in json.load(open(report, encoding="utf-8"))["mutants"]:
        try:
            lines = open(os.path.join(ROOT, m["file"]), encoding="utf-8").read().split("\n")
        except FileNotFoundError:
            lines = []
        skipped = windows_only(lines)
        places = [n for n, line in enumerate(lines) if line == m["old"] and n not in skipped]
        if not places:
            print(f"mutate: {m['file']}:{m['line']} is gone or Windows-only; skipped", file=sys.stderr)
            continue
        line = min(places, key=lambda n: abs(n + 1 - m["line"])) + 1
        result.append({k: m[k] for k in ("file", "what", "old", "new")} | {"line": line})
    return result


# A compiler cache keys an object by the source it read first, while the compiler reads it again:
# a source put back while a mutant compiles would be cached as that mutant and handed out later.
# Mutants are compiled once each anyway, so the cache is left out.
ENVIRONMENT = dict(os.environ, CCACHE_DISABLE="1")


def run(command, timeout, environment=None):
    """Runs `command` in a process group of its own, so a timeout or Ctrl+C ends all of it (a
    compiler left running would write an object after its source was put back)."""
    process = subprocess.Popen(command, cwd=ROOT, env=dict(ENVIRONMENT, **(environment or {})), stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, start_new_session=True)
    try:
        out, _ = process.communicate(timeout=timeout)
        return process.returncode, out.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return "timeout", ""
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


def commit():
    return subprocess.run(["git", "rev-parse", "HEAD"], cwd=ROOT, capture_output=True, text=True).stdout.strip()


def configure():
    code, out = run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                     "-DMOZA_WITH_WEBENGINE=OFF", "-DMOZA_BUILD_TOOLS=OFF", "-DMOZA_BUILD_BENCH=OFF"], 600)
    if code != 0:
        sys.exit("mutate: cannot configure the build:\n" + out)


def build(folders=None):
    """Builds the test programs that can see `folders` (default: every folder's)."""
    targets = sorted({t for f in folders or TESTS for t in TESTS[f]})
    return run(["cmake", "--build", BUILD, "-j", str(os.cpu_count() or 2), "--target"] + targets, 1800)


def tests_pass(folder, timeout):
    """True when every test program that can see `folder` passes; 'timeout' counts as a failure."""
    for program in TESTS[folder]:
        code, _ = run([os.path.join(BUILD, "bin", program), "--gtest_brief=1"], timeout, {"QT_QPA_PLATFORM": "offscreen"})
        if code != 0:
            return False
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--count", type=int, default=100, help="mutants to try (default 100)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    parser.add_argument("--all", action="store_true", help="try every mutant")
    parser.add_argument("--list", action="store_true", help="list the mutants and stop")
    parser.add_argument("--replay", default="", help="try the mutants of this earlier JSON report")
    parser.add_argument("--only", default="", help="only files whose path contains this text")
    parser.add_argument("--timeout", type=int, default=300, help="seconds per test program (default 300)")
    parser.add_argument("--report", default=os.path.join(BUILD, "report.json"), help="where the JSON report goes")
    parser.add_argument("--resume", action="store_true",
                        help="keep the outcomes the report holds and try only the mutants it lacks")
    args = parser.parse_args()

    mutants = [m for m in (replayed(args.replay) if args.replay else all_mutants()) if args.only in m["file"]]
    if args.list:
        for m in mutants:
            print(f"{m['file']}:{m['line']}: {m['what']}")
        print(f"{len(mutants)} mutants")
        return
    if not args.all and not args.replay:
        random.Random(args.seed).shuffle(mutants)
        mutants = sorted(mutants[: args.count], key=lambda m: (m["file"], m["line"]))
    earlier = []
    if args.resume and os.path.exists(args.report):
        report = json.load(open(args.report, encoding="utf-8"))
        if report.get("commit") != commit():
            sys.exit(f"mutate: {args.report} is of commit {report.get('commit')}, the tree is at {commit()};"
                     " outcomes of other code or tests cannot be kept (--replay tries them again)")
        earlier = report["mutants"]
        done = {(m["file"], m["old"], m["new"]) for m in earlier}
        mutants = [m for m in mutants if (m["file"], m["old"], m["new"]) not in done]
        print(f"mutate: {len(earlier)} outcomes kept from {args.report}; {len(mutants)} mutants to go", file=sys.stderr)
    if subprocess.run(["git", "diff", "--quiet", "--"] + FOLDERS, cwd=ROOT).returncode != 0:
        sys.exit("mutate: the sources have changes of their own; commit or stash them first")

    folders = sorted({os.path.dirname(m["file"]) for m in mutants})
    configure()
    code, out = build(folders)
    if code != 0:
        sys.exit("mutate: the unchanged sources do not build:\n" + out)
    for folder in folders:
        if not tests_pass(folder, args.timeout):
            sys.exit(f"mutate: the tests fail on the unchanged sources ({folder})")

    results, started = list(earlier), time.time()
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    try:
        for i, m in enumerate(mutants, 1):
            path = os.path.join(ROOT, m["file"])
            original = open(path, encoding="utf-8").read()
            lines = original.split("\n")
            lines[m["line"] - 1] = m["new"]
            try:
                open(path, "w", encoding="utf-8").write("\n".join(lines))
                folder = os.path.dirname(m["file"])
                code, _ = build([folder])
                if code != 0:
                    m["outcome"] = "does not build"
                else:
                    m["outcome"] = "survived" if tests_pass(folder, args.timeout) else "killed"
            finally:
                open(path, "w", encoding="utf-8").write(original)
            results.append(m)
            save(args, results)
            print(f"[{i}/{len(mutants)}] {m['outcome']:>14}  {m['file']}:{m['line']}: {m['what']}", flush=True)
    except KeyboardInterrupt:
        print("mutate: interrupted; the sources are as they were", file=sys.stderr)
    finally:
        build(folders)  # the build matches the sources again

    killed = sum(m["outcome"] == "killed" for m in results)
    survived = [m for m in results if m["outcome"] == "survived"]
    built = killed + len(survived)
    print(f"\nscore: {killed} of {built} mutants that build killed"
          f" ({100.0 * killed / built if built else 0:.1f} %), {len(results) - built} did not build;"
          f" {time.time() - started:.0f} s")
    for m in survived:
        print(f"survived: {m['file']}:{m['line']}: {m['what']}\n    was: {m['old'].strip()}\n    now: {m['new'].strip()}")
    save(args, results)


def save(args, results):
    """Writes the report of `results` whole, through a temporary file, so it is never half written."""
    killed = sum(m["outcome"] == "killed" for m in results)
    built = killed + sum(m["outcome"] == "survived" for m in results)
    os.makedirs(os.path.dirname(os.path.abspath(args.report)), exist_ok=True)
    part = args.report + ".part"
    with open(part, "w", encoding="utf-8") as out:
        json.dump({"seed": args.seed, "commit": commit(), "killed": killed, "built": built, "mutants": results},
                  out, ensure_ascii=False, indent=1)
    os.replace(part, args.report)


if __name__ == "__main__":
    main()
