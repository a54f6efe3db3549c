#!/usr/bin/env python3
"""Counts test cases from GoogleTest XML reports and plain check results.

Usage: summarise-tests.py <checks file> <ctest tree>... [--guest <folder>]
                           [--allowed-skips <file>]
Each ctest tree is a build folder whose test-results/ holds one XML report per
test program named in its ctest-ran.txt; a program that ran but left no report
(a crash, a timeout) counts as one failed case, and so does a report that is
not XML. Bytes that are not UTF-8 (GoogleTest writes a failure message's
Shift-JIS bytes raw into its UTF-8 report) are read as U+FFFD. The checks
file holds lines "PASS name" or "FAIL name" from script checks.

The --guest folder is the emulated 32-bit PC's run (scripts/guest-test.sh):
its test-results/, ctest-ran.txt and checks.txt are counted the same way, and
every report must come from a 32-bit program (its pointer_bits property);
one that does not is a failure. Its counts get a line of their own. When it
holds not-run.txt (the PC could not run), its failures are printed as one
line with that file's cause.

A skipped case is a failure unless the allowed-skips file (default
tests/allowed-skips.txt) names it with a condition that holds on this machine
and, when the emulated run is counted, that run passed the same case. Lines:
"<program>: <Suite>.<Case> | <condition> | <why>"; conditions: "root" (this
process runs as root, which writes read-only files).

Prints the failed and skipped cases and a closing line
"N passed, M failed, K skipped"; exits 1 when anything failed.
"""
import os
import sys
import xml.etree.ElementTree as ET


class Counts:
    def __init__(self):
        self.passed = self.failed = self.skipped = 0
        self.failures = []
        self.skips = []
        self.passes = set()
        self.skip_lines = []

    def fail(self, name):
        self.failed += 1
        self.failures.append(name)

    def add(self, other):
        self.passed += other.passed
        self.failed += other.failed
        self.skipped += other.skipped
        self.failures += other.failures
        self.skips += other.skips
        self.passes |= other.passes
        self.skip_lines += other.skip_lines

    def line(self):
        return f'{self.passed} passed, {self.failed} failed, {self.skipped} skipped'


def count_tree(tree, counts, label='', pointer_bits=None):
    results = os.path.join(tree, 'test-results')
    ran_file = os.path.join(tree, 'ctest-ran.txt')
    ran = []
    if os.path.exists(ran_file):
        ran = [line.strip() for line in open(ran_file) if line.strip()]
    for program in ran:
        shown = label + program
        report = os.path.join(results, program + '.xml')
        if not os.path.exists(report):
            counts.fail(f'{shown} (no report: crashed or timed out)')
            continue
        try:
            with open(report, 'rb') as f:
                text = f.read().decode('utf-8', errors='replace')
            root = ET.fromstring(text.encode('utf-8'))
        except ET.ParseError:
            counts.fail(f'{shown} (unreadable report)')
            continue
        if pointer_bits is not None and root.get('pointer_bits') != str(pointer_bits):
            counts.fail(f'{shown} (not a {pointer_bits}-bit program: pointer_bits={root.get("pointer_bits")})')
            continue
        for case in root.iter('testcase'):
            name = f"{shown}: {case.get('classname')}.{case.get('name')}"
            if case.find('failure') is not None or case.find('error') is not None:
                counts.fail(name)
            elif case.get('result') == 'skipped' or case.find('skipped') is not None:
                counts.skips.append((label, f"{program}: {case.get('classname')}.{case.get('name')}"))
            else:
                counts.passed += 1
                counts.passes.add(name)


def count_checks(path, counts, label=''):
    if not os.path.exists(path):
        return
    for line in open(path):
        word, _, name = line.strip().partition(' ')
        if word == 'PASS':
            counts.passed += 1
        elif word == 'FAIL':
            counts.fail(label + name)


def read_allowed_skips(path):
    allowed = {}
    if not os.path.exists(path):
        return allowed
    for line in open(path, encoding='utf-8'):
        line = line.strip()
        if not line or line.startswith('#'):
            continue
        fields = [f.strip() for f in line.split('|')]
        if len(fields) == 3:
            allowed[fields[0]] = (fields[1], fields[2])
    return allowed


def condition_holds(condition):
    if condition == 'root':
        return hasattr(os, 'geteuid') and os.geteuid() == 0
    return False


def judge_skips(counts, allowed, emulated_passes):
    # A skip counts as skipped only with a reason that holds here; any other
    # skipped case is one this machine can run, and it did not.
    for label, case in counts.skips:
        entry = allowed.get(case) if label == '' else None
        reason = None
        if entry is not None and condition_holds(entry[0]):
            if emulated_passes is None or (GUEST_LABEL + case) in emulated_passes:
                reason = entry[1]
        if reason is not None:
            counts.skipped += 1
            counts.skip_lines.append(f'{label}{case} ({reason})')
        else:
            counts.fail(f'{label}{case} (skipped, yet this machine can run it)')


GUEST_LABEL = 'emulated 32-bit: '
args = sys.argv[1:]
guest = None
if '--guest' in args:
    i = args.index('--guest')
    guest = args[i + 1]
    del args[i:i + 2]
allowed_file = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'allowed-skips.txt')
if '--allowed-skips' in args:
    i = args.index('--allowed-skips')
    allowed_file = args[i + 1]
    del args[i:i + 2]
allowed = read_allowed_skips(allowed_file)
checks, trees = args[0], args[1:]

total = Counts()
for tree in trees:
    count_tree(tree, total)
count_checks(checks, total)

emulated = None
if guest is not None:
    emulated = Counts()
    count_tree(guest, emulated, label=GUEST_LABEL, pointer_bits=32)
    count_checks(os.path.join(guest, 'checks.txt'), emulated, label=GUEST_LABEL)
    not_run = os.path.join(guest, 'not-run.txt')
    if os.path.exists(not_run):
        # The PC never ran: its cases all count as failed, under one line
        # that says why.
        n = emulated.failed
        emulated.failures = [f'{GUEST_LABEL}{n} cases not run: {open(not_run).read().strip()}']
    judge_skips(emulated, allowed, None)
judge_skips(total, allowed, emulated.passes if emulated is not None else None)
if emulated is not None:
    total.add(emulated)

for name in total.skip_lines:
    print(f'skipped: {name}')
for name in total.failures:
    print(f'FAILED: {name}')
if guest is not None:
    print(f'emulated 32-bit PC (i686 build): {emulated.line()}')
print(total.line())
sys.exit(1 if total.failed else 0)
