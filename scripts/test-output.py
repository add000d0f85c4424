"""Condenses CTest's output, read on stdin (see run-tests.sh).

Passed and skipped tests only move the progress line (on a terminal: one line
rewritten; elsewhere nothing); every other result is printed with the output
that follows it. Skipped tests are listed with the reason GoogleTest gave,
taken from CTest's log in the build folder. CTest's summary line comes last.
"""
import os
import re
import sys

build = sys.argv[1]
terminal = sys.stdout.isatty()
# "  3/689 Test  #12: Suite.Name .....   Passed    0.05 sec"; a name may hold
# spaces and dots (a parameterised test's "# GetParam() = ..."), an outcome
# other than passed or skipped is a failure of some kind.
result = re.compile(r"^\s*(\d+)/(\d+) Test\s+#\d+: (.*)$")
quiet_outcome = re.compile(r"^(.*) \.+\s*(?:\*\*\*)?(Passed|Skipped)\s+[\d.]+ sec$")
start = re.compile(r"^\s*Start\s+\d+: ")
summary = re.compile(r"^\d+% tests passed, \d+ tests? failed out of \d+")

skipped, summary_line, in_failure, block = [], None, False, None
width = 0


def clear_progress():
    global width
    if terminal and width:
        sys.stdout.write("\r" + " " * width + "\r")
        width = 0


for line in sys.stdin:
    line = line.rstrip("\n")
    if m := result.match(line):
        done, total, rest = m.groups()
        quiet = quiet_outcome.match(rest)
        name = quiet.group(1) if quiet else rest
        in_failure = not quiet
        if quiet and quiet.group(2) == "Skipped":
            skipped.append(name)
        if in_failure:
            clear_progress()
            print(line)
        elif terminal:
            text = f"[{done}/{total}] {name}"[:max(20, os.get_terminal_size().columns - 1)]
            clear_progress()
            sys.stdout.write(text)
            sys.stdout.flush()
            width = len(text)
        continue
    if start.match(line) or line.startswith("Test project "):
        continue
    if summary.match(line):
        summary_line, in_failure = line, False
        continue
    if line.startswith("Label Time Summary:") or line.startswith("The following tests did not run:"):
        block = "skip"
        continue
    if block == "skip":
        if line.strip():
            continue
        block = None
        continue
    if line.startswith("Total Test time"):
        continue
    if in_failure or line.strip():
        clear_progress()
        print(line)
clear_progress()

# Why each skipped test skipped itself: GoogleTest prints "...: Skipped" and
# the reason on the next line, and CTest keeps every test's output in its log.
reasons = {}
try:
    current, after_skip = None, False
    with open(os.path.join(build, "Testing/Temporary/LastTest.log"), errors="replace") as log:
        for line in log:
            if m := re.match(r"^\d+/\d+ Test: (.*)$", line):
                current, after_skip = m.group(1).strip(), False
            elif after_skip:
                reasons.setdefault(current, line.strip())
                after_skip = False
            elif line.rstrip().endswith(": Skipped"):
                after_skip = True
except OSError:
    pass
for name in skipped:
    reason = reasons.get(name) or "it skipped itself"
    print(f"Skipped on purpose, not a fault: {name} ({reason}).")
if summary_line:
    print(summary_line)
