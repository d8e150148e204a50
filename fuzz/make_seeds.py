#!/usr/bin/env python3
"""Seed corpora for the fuzz targets, made from the examples and the tests.

usage: make_seeds.py REPO OUT

Writes OUT/<target>/<hash> files. The string literals of the test files are
the sources, settings and tone files the tests already feed the readers;
short track bodies are also wrapped as track 1 ("1[...]"), the way the
compiler tests compile them. Object images for the engine and export targets
are made afterwards by scripts/fuzz.sh, which compiles the source seeds.
"""
import glob
import hashlib
import os
import re
import sys

ESCAPES = {'n': b'\n', 't': b'\t', 'r': b'\r', '\\': b'\\', '"': b'"', "'": b"'", '0': b'\0', 'a': b'\a'}


def unescape(body):
    """The bytes of a C++ string literal's body, in UTF-8."""
    out = bytearray()
    i = 0
    while i < len(body):
        c = body[i]
        if c != '\\' or i + 1 >= len(body):
            out += c.encode('utf-8')
            i += 1
            continue
        e = body[i + 1]
        if e == 'x':
            m = re.match(r'[0-9A-Fa-f]{1,2}', body[i + 2:])
            out.append(int(m.group(0), 16) if m else 0)
            i += 2 + (len(m.group(0)) if m else 0)
        else:
            out += ESCAPES.get(e, e.encode('utf-8'))
            i += 2
    return bytes(out)


TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|\'(?:[^\'\\\n]|\\.)*\'|(?:u8)?R"([^(]*)\((.*?)\)\1"|(?:u8)?"((?:[^"\\\n]|\\.)*)"',
                   re.S)


def literals(path):
    """Every string literal of a C++ file, adjacent literals joined."""
    text = open(path, encoding='utf-8', errors='replace').read()
    found, current, last_end = [], None, -1
    for m in TOKEN.finditer(text):
        if m.group(2) is None and m.group(3) is None:
            continue  # a comment or a character literal
        value = m.group(2).encode('utf-8') if m.group(2) is not None else unescape(m.group(3))
        if current is not None and text[last_end:m.start()].strip() == '':
            current += value
        else:
            if current is not None:
                found.append(current)
            current = value
        last_end = m.end()
    if current is not None:
        found.append(current)
    return found


def write(out, target, data):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    name = hashlib.sha1(data).hexdigest()[:16]
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def main():
    repo, out = sys.argv[1], sys.argv[2]
    for path in glob.glob(os.path.join(repo, 'examples', '*.mus')):
        write(out, 'compile_source', open(path, 'rb').read())
    for path in sorted(glob.glob(os.path.join(repo, 'tests', 'core', 'compiler', '*.cpp'))):
        for text in literals(path):
            if len(text) < 2:
                continue
            write(out, 'compile_source', text)
            if b'[' not in text:
                write(out, 'compile_source', b'1[' + text + b']')
    for path in glob.glob(os.path.join(repo, 'examples', 'GMSET.EQ?')):
        write(out, 'tone_file', open(path, 'rb').read())
    for text in literals(os.path.join(repo, 'tests', 'core', 'settings', 'tone_files_test.cpp')):
        write(out, 'tone_file', text)
    for name in ('tests/platform/profile_test.cpp', 'tests/core/settings/settings_test.cpp'):
        for text in literals(os.path.join(repo, name)):
            if b'[' in text or b'=' in text:
                write(out, 'profile', text)
    write(out, 'profile', b'[System]\r\nVersion=0.1.0\r\nDispRate=24\r\nMidiDevice=MIDI Mapper\r\n'
                          b'[Tone]\r\nTone1=GMSET.EQN\r\n; a comment\r\n[Window]\r\nWindowLeft=-12\r\n')


if __name__ == '__main__':
    main()
