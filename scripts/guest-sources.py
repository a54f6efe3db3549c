#!/usr/bin/env python3
"""Prints the apt sources list of the emulated PC's package fetch.

Usage: guest-sources.py [host apt folder]   (default /etc/apt)

Two entries for the i386 architecture: the host's Debian archive with
"bookworm main" and the same archive with "bookworm-updates main". The host's
sources are read only to learn that archive's URI (and its signed-by or
trusted option): the entry that names the suite bookworm, in the one-line or
the DEB822 form. Its other suites and sources (security, third parties) are
never fetched for the guest: an index the guest does not install from must not
stop its build. Without such an entry the default Debian archive is used.
"""
import glob
import os
import sys

DEFAULT_URI = 'http://deb.debian.org/debian'
SUITE = 'bookworm'


def one_line_entries(path):
    for line in open(path, encoding='utf-8', errors='replace'):
        words = line.split('#', 1)[0].split()
        if not words or words[0] != 'deb':
            continue
        words = words[1:]
        options = {}
        if words and words[0].startswith('['):
            text = []
            while words:
                w = words.pop(0)
                text.append(w)
                if w.endswith(']'):
                    break
            for opt in ' '.join(text).strip('[]').split():
                key, _, value = opt.partition('=')
                options[key.lower()] = value
        if len(words) >= 2:
            yield [words[0]], [words[1]], options


def deb822_entries(path):
    paragraph = {}
    key = None

    def entry():
        if paragraph.get('enabled', 'yes').lower() == 'no':
            return None
        if 'deb' not in paragraph.get('types', '').split():
            return None
        options = {}
        signed = paragraph.get('signed-by', '').strip()
        if signed.startswith('/') and '\n' not in signed:
            options['signed-by'] = signed
        if paragraph.get('trusted', '').lower() == 'yes':
            options['trusted'] = 'yes'
        return paragraph.get('uris', '').split(), paragraph.get('suites', '').split(), options

    for line in list(open(path, encoding='utf-8', errors='replace')) + ['\n']:
        if line.startswith('#'):
            continue
        if not line.strip():
            if paragraph:
                found = entry()
                if found:
                    yield found
            paragraph, key = {}, None
        elif line[0] in ' \t' and key:
            paragraph[key] += '\n' + line.strip()
        else:
            key, _, value = line.partition(':')
            key = key.strip().lower()
            paragraph[key] = value.strip()


def host_archive(etc):
    files = [(os.path.join(etc, 'sources.list'), one_line_entries)]
    for path in sorted(glob.glob(os.path.join(etc, 'sources.list.d', '*'))):
        if path.endswith('.list'):
            files.append((path, one_line_entries))
        elif path.endswith('.sources'):
            files.append((path, deb822_entries))
    for path, reader in files:
        if not os.path.isfile(path):
            continue
        for uris, suites, options in reader(path):
            if SUITE in suites and uris:
                return uris[0], options
    return DEFAULT_URI, {}


def main():
    uri, options = host_archive(sys.argv[1] if len(sys.argv) > 1 else '/etc/apt')
    opts = ['arch=i386'] + [f'{k}={options[k]}' for k in ('signed-by', 'trusted') if k in options]
    for suite in (SUITE, SUITE + '-updates'):
        print(f'deb [{" ".join(opts)}] {uri} {suite} main')


main()
