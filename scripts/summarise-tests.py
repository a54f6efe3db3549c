#!/usr/bin/env python3
"""Counts test cases from GoogleTest XML reports and plain check results.

Usage: summarise-tests.py <checks file> <ctest tree>...
Each ctest tree is a build folder whose test-results/ holds one XML report per
test program; a program that ran but left no report (a crash, a timeout)
counts as one failed case. The checks file holds lines "PASS name" or
"FAIL name" from script checks. Prints the failed cases and a closing line
"N passed, M failed"; exits 1 when anything failed.
"""
import os
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
failures = []


def note_failure(name):
    global failed
    failed += 1
    failures.append(name)


checks, trees = sys.argv[1], sys.argv[2:]
for tree in trees:
    results = os.path.join(tree, 'test-results')
    ran_file = os.path.join(tree, 'ctest-ran.txt')
    ran = []
    if os.path.exists(ran_file):
        ran = [line.strip() for line in open(ran_file) if line.strip()]
    for program in ran:
        report = os.path.join(results, program + '.xml')
        if not os.path.exists(report):
            note_failure(f'{program} (no report: crashed or timed out)')
            continue
        try:
            root = ET.parse(report).getroot()
        except ET.ParseError:
            note_failure(f'{program} (unreadable report)')
            continue
        for case in root.iter('testcase'):
            name = f"{program}: {case.get('classname')}.{case.get('name')}"
            if case.find('failure') is not None or case.find('error') is not None:
                note_failure(name)
            elif case.get('result') == 'skipped' or case.find('skipped') is not None:
                skipped += 1
                print(f'skipped: {name}')
            else:
                passed += 1

if os.path.exists(checks):
    for line in open(checks):
        word, _, name = line.strip().partition(' ')
        if word == 'PASS':
            passed += 1
        elif word == 'FAIL':
            note_failure(name)

for name in failures:
    print(f'FAILED: {name}')
if skipped:
    print(f'{skipped} skipped')
print(f'{passed} passed, {failed} failed')
sys.exit(1 if failed else 0)
