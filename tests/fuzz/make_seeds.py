#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets from the transcripts, their
host files and a few hand-made files: make_seeds.py CORPUS_FOLDER.

The replies target's seeds are recorded by its own binary instead
(KV_FUZZ_RECORD, see fuzz_replies.cpp). Seeds are named by their content,
so running this again adds nothing twice. The transcripts hold some seven
hundred one-shot commands; the corpus keeps the typed sessions and a
sample of the one-shot commands that libFuzzer's -merge=1 found to add
coverage, so that the CI pass over it stays short."""
import glob
import hashlib
import json
import os
import re
import shlex
import struct
import sys

top = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
corpus = sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, 'tests/fuzz/corpus')


def put(target, data):
    if isinstance(data, str):
        data = data.encode()
    folder = os.path.join(corpus, target)
    os.makedirs(folder, exist_ok=True)
    name = 'seed-' + hashlib.sha1(data).hexdigest()[:16]
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def files(pattern):
    """The files below the top folder that the pattern matches; none is an
    error, as seeds made without them would leave a target's corpus thin."""
    found = sorted(glob.glob(os.path.join(top, pattern), recursive=True))
    if not found:
        sys.exit('make_seeds.py: no file matches ' + pattern)
    return found


def unprintf(text):
    return text.encode().decode('unicode_escape')


# Host files: every fixture host.
for path in files('tests/fixtures/**/*.json'):
    with open(path, 'rb') as f:
        put('host_file', f.read())

# Commands: one-shot argument lists and typed sessions of the transcripts.
oneshot, typed = set(), set()
for path in files('tests/transcripts/*.t'):
    for line in open(path, encoding='utf-8'):
        m = re.match(r"\s+\$ printf '([^']*)' \| .*\"\$KV_CLI\"", line)
        if m:
            typed.add(unprintf(m.group(1)))
            continue
        m = re.search(r'"\$KV_CLI"((?: [^;|&<>$`"\']+)+)', line)
        if m and '-f' not in m.group(1).split():
            try:
                oneshot.add(' '.join(shlex.split(m.group(1))))
            except ValueError:
                pass
for i, words in enumerate(sorted(oneshot)):
    put('command_line', bytes([(i % 8) << 4]) + words.encode())
for i, lines in enumerate(sorted(typed)):
    put('command_line', bytes([1 | (i % 8) << 4]) + lines.encode())
    put('command_file', lines)
with open(os.path.join(top, 'tests/fixtures/shell/commands.txt'), 'rb') as f:
    put('command_file', f.read())
with open(os.path.join(top, 'tests/fixtures/shell/odd_lines.txt'), 'rb') as f:
    put('command_file', f.read())


# Firmware images: the header the controllers read and a body whose sum
# header bytes 8-11 hold. Byte 0 chooses the controller.
def image(controller=0, size=1024, declared=None, arch=8, srl=30, lowest=25,
          magic=0xBADDECAF, version=b'KF62 7.35.00.003', bad_sum=False):
    body = bytes(((i * 7 + 3) & 0xFF) for i in range(64, size))
    total = (sum(body) + (1 if bad_sum else 0)) & 0xFFFFFFFF
    header = struct.pack('<IIII8sHHI16s16s', 0, size if declared is None else declared, total,
                         arch, b'', srl, lowest, magic, b'', version)
    data = bytearray((header + body)[:size])
    if size > 0:
        data[0] = controller
    return bytes(data)


for controller in range(3):
    put('firmware_image', image(controller))
    put('firmware_image', image(controller, srl=36, lowest=30))
put('firmware_image', image(1, arch=9))
put('firmware_image', image(0, magic=0x12345678))
put('firmware_image', image(0, declared=2048))
put('firmware_image', image(0, bad_sum=True))
put('firmware_image', image(2, size=9000))
put('firmware_image', image(0, size=40))

# Message files: sections "#0xSS:rows" and rows 0xCCCC:"text". The last
# four bytes choose the language, the source and the code.
def choice(language, source, code):
    return bytes([language, source, code & 0xFF, code >> 8])


messages = [
    ('#0x0B:2\n0x0001:"Keine Steuerung"\n0x0002:"zweite"\n#0x03:1\n0x0204:"Fehler"\n',
     [(1, 11, 1), (1, 3, 0x204), (1, 3, 5), (5, 11, 2)]),
    ('#0x0C:1\n0x0001:"ost"\n#0x0F:1\n0x0009:"3Ereignis"\n', [(1, 12, 1), (2, 15, 9)]),
    ('#0x0B:1\n0x0001:"kein Ende\n#0x0B:1\n0x0002:"x"\n', [(6, 11, 1)]),
]
for text, choices in messages:
    for c in choices:
        put('message_file', text.encode() + choice(*c))
