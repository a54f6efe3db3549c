#!/usr/bin/env python3
"""Counts test cases from GoogleTest XML reports and plain check results.

Usage: summarise-tests.py <checks file> <ctest tree>... [--guest <folder>]
Each ctest tree is a build folder whose test-results/ holds one XML report per
test program named in its ctest-ran.txt; a program that ran but left no report
(a crash, a timeout) counts as one failed case. The checks file holds lines
"PASS name" or "FAIL name" from script checks.

The --guest folder is the emulated 32-bit PC's run (scripts/guest-test.sh):
its test-results/, ctest-ran.txt and checks.txt are counted the same way, and
every report must come from a 32-bit program (its pointer_bits property);
one that does not is a failure. Its counts get a line of their own.

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

    def fail(self, name):
        self.failed += 1
        self.failures.append(name)

    def add(self, other):
        self.passed += other.passed
        self.failed += other.failed
        self.skipped += other.skipped
        self.failures += other.failures
        self.skips += other.skips

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
            root = ET.parse(report).getroot()
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
                counts.skipped += 1
                counts.skips.append(name)
            else:
                counts.passed += 1


def count_checks(path, counts, label=''):
    if not os.path.exists(path):
        return
    for line in open(path):
        word, _, name = line.strip().partition(' ')
        if word == 'PASS':
            counts.passed += 1
        elif word == 'FAIL':
            counts.fail(label + name)


args = sys.argv[1:]
guest = None
if '--guest' in args:
    i = args.index('--guest')
    guest = args[i + 1]
    del args[i:i + 2]
checks, trees = args[0], args[1:]

total = Counts()
for tree in trees:
    count_tree(tree, total)
count_checks(checks, total)

if guest is not None:
    emulated = Counts()
    count_tree(guest, emulated, label='emulated 32-bit: ', pointer_bits=32)
    count_checks(os.path.join(guest, 'checks.txt'), emulated, label='emulated 32-bit: ')
    total.add(emulated)

for name in total.skips:
    print(f'skipped: {name}')
for name in total.failures:
    print(f'FAILED: {name}')
if guest is not None:
    print(f'emulated 32-bit PC (i686 build): {emulated.line()}')
print(total.line())
sys.exit(1 if total.failed else 0)
