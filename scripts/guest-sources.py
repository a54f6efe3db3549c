#!/usr/bin/env python3
"""Prints the apt sources list of the emulated PC's package fetch.

Usage: guest-sources.py [host apt folder] [host apt lists folder]
                        (defaults /etc/apt and /var/lib/apt/lists)

Two entries for the i386 architecture: the host's Debian archive with
"bookworm main" and the same archive with "bookworm-updates main". The host's
sources are read only to learn that archive's URI (and its signed-by or
trusted option): of the entries that name the suite bookworm, in the
one-line or the DEB822 form, the first whose Release file in apt's lists
folder says "Origin: Debian", else the first with component main whose URI
ends in /debian. A third party's archive listed before Debian's may publish
"bookworm main" too. Other suites and sources (security, third parties) are
never fetched for the guest: an index the guest does not install from must not
stop its build. Without such an entry the default Debian archive is used.
"""
import glob
import os
import re
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
            yield [words[0]], [words[1]], words[2:], options


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
        return (paragraph.get('uris', '').split(), paragraph.get('suites', '').split(),
                paragraph.get('components', '').split(), options)

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


def released_by_debian(uri, lists):
    # apt names the file after its URI (URItoFileName): no scheme and no
    # user:password, unsafe bytes as %xx, '/' as '_'.
    rest = uri[re.match(r'([a-z][a-z0-9+.-]*:(//([^/@]*@)?)?)?', uri, re.I).end():]
    for name in ('InRelease', 'Release'):
        path = rest.rstrip('/') + f'/dists/{SUITE}/{name}'
        path = ''.join(f'%{b:02x}' if b <= 0x20 or b >= 0x7f or chr(b) in '\\|{}[]<>"^~_=!@#$%&*'
                       else chr(b) for b in path.encode()).replace('/', '_')
        path = os.path.join(lists, path)
        if os.path.isfile(path):
            for line in open(path, encoding='utf-8', errors='replace'):
                key, _, value = line.partition(':')
                if key.strip().lower() == 'origin' and value.strip() == 'Debian':
                    return True
    return False


def host_archive(etc, lists):
    files = [(os.path.join(etc, 'sources.list'), one_line_entries)]
    for path in sorted(glob.glob(os.path.join(etc, 'sources.list.d', '*'))):
        if path.endswith('.list'):
            files.append((path, one_line_entries))
        elif path.endswith('.sources'):
            files.append((path, deb822_entries))
    entries = [(uri, components, options)
               for path, reader in files if os.path.isfile(path)
               for uris, suites, components, options in reader(path) if SUITE in suites
               for uri in uris]
    for uri, _, options in entries:
        if released_by_debian(uri, lists):
            return uri, options
    for uri, components, options in entries:
        if 'main' in components and uri.rstrip('/').endswith('/debian'):
            return uri, options
    return DEFAULT_URI, {}


def main():
    uri, options = host_archive(sys.argv[1] if len(sys.argv) > 1 else '/etc/apt',
                                sys.argv[2] if len(sys.argv) > 2 else '/var/lib/apt/lists')
    opts = ['arch=i386'] + [f'{k}={options[k]}' for k in ('signed-by', 'trusted') if k in options]
    for suite in (SUITE, SUITE + '-updates'):
        print(f'deb [{" ".join(opts)}] {uri} {suite} main')


main()
