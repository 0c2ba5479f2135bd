#!/usr/bin/env python3
"""Dockhaven's delivery lines, as Wine's debugstr channel writes them, read back.

Dockhaven hands a watching debugger one line per delivered picture:
    Dockhaven: sent 2560x1600 as 512x320 in 143 ms: Z:\\Pictures\\Caf\xe9.jpg
Wine writes that string quoted and escaped: a backslash as \\\\, a quote as \\", a line end as
\\n, a byte outside printable ASCII (the desktop's code page, CP1252 on our prefixes) as \\xNN,
and it cuts long strings, marking the cut with "..." after the closing quote.

    parse_line(raw)  -> Sent, or None for a line that is not a delivery line; raises
                        BadLine for a delivery line that cannot be read.
    decode_debugstr(quoted_body) -> the string's bytes (the escapes undone).

Run as a filter (python3 frame_lines.py [--code-page CP]) it reads a log on standard input and
writes one tab-separated record per delivery line, stamped with the time it arrived
(seconds since the epoch, the clock of bash's EPOCHREALTIME):
    STAMP  sent  BEFORE  AFTER  MS  SOURCE  CUT      (SOURCE a host path where it lies on Z:,
                                                      by its real name where the desktop used
                                                      a short alias; CUT 1 when Wine shortened
                                                      the string)
    STAMP  bad   REASON  RAW
Text fields are TSV-escaped (\\\\, \\t, \\n, \\r), so a record is always one line.
"""
import os
import re
import sys
import time
from typing import NamedTuple, Optional

MARKER = b'"Dockhaven: sent '
_FIGURES = re.compile(r'(\d+x\d+) as (\d+x\d+) in (\d+) ms: ')
_SIMPLE = {ord('n'): 0x0A, ord('r'): 0x0D, ord('t'): 0x09, ord('"'): 0x22, ord('\\'): 0x5C}


class BadLine(ValueError):
    """A delivery line whose text cannot be read; the reason is the message."""


class Sent(NamedTuple):
    before: str        # "2560x1600"
    after: str         # "512x320"
    milliseconds: int
    source: str        # the desktop path as Dockhaven wrote it, e.g. "Z:\\Pictures\\Café.jpg"
    cut: bool          # Wine shortened the string: source lacks its end


def decode_debugstr(body: bytes) -> bytes:
    """The bytes of a Wine debug string whose quotes are already removed."""
    out = bytearray()
    i, n = 0, len(body)
    while i < n:
        c = body[i]
        if c != 0x5C:
            out.append(c)
            i += 1
            continue
        if i + 1 >= n:
            raise BadLine('a lone backslash at the end of the string')
        e = body[i + 1]
        if e in _SIMPLE:
            out.append(_SIMPLE[e])
            i += 2
        elif e == ord('x'):
            digits = body[i + 2:i + 4]
            if len(digits) != 2 or not re.fullmatch(rb'[0-9A-Fa-f]{2}', digits):
                raise BadLine('\\x without two hex digits')
            out.append(int(digits, 16))
            i += 4
        else:
            raise BadLine('unknown escape \\' + chr(e))
    return bytes(out)


def _quoted_body(raw: bytes, start: int):
    """The escaped text from `start` (just after an opening quote) to its closing quote, and
    whether Wine marked the string as cut; None when the quote never closes."""
    i, n = start, len(raw)
    while i < n:
        if raw[i] == 0x5C:
            i += 2
            continue
        if raw[i] == 0x22:
            return raw[start:i], raw[i + 1:i + 4] == b'...'
        i += 1
    return None


def _cp1252_table():
    table = []
    for b in range(256):
        try:
            table.append(bytes([b]).decode('cp1252'))
        except UnicodeDecodeError:
            table.append(chr(b))
    return table


_CP1252 = _cp1252_table()


def to_text(data: bytes, code_page: str = 'cp1252') -> str:
    """Code-page bytes as text. The five bytes CP1252 leaves undefined map to the control
    characters of the same number, as Windows maps them, so no byte is lost."""
    if code_page == 'cp1252':
        return ''.join(_CP1252[b] for b in data)
    return data.decode(code_page, errors='replace')


def parse_line(raw, code_page: str = 'cp1252') -> Optional[Sent]:
    """One log line (bytes or str, its line end optional) -> Sent, None or BadLine."""
    if isinstance(raw, str):
        raw = raw.encode('utf-8', errors='surrogateescape')
    at = raw.find(MARKER)
    if at < 0:
        return None
    quoted = _quoted_body(raw, at + 1)
    if quoted is None:
        raise BadLine('the quoted string does not end')
    body, cut = quoted
    text = to_text(decode_debugstr(body), code_page)
    if not cut:
        if not text.endswith('\n'):
            raise BadLine('the string lacks its line end')
        text = text[:-1]
    text = text[len('Dockhaven: sent '):]
    m = _FIGURES.match(text)
    if not m:
        raise BadLine('no "WxH as WxH in N ms: " after "sent"')
    source = text[m.end():]
    if not source:
        raise BadLine('no desktop file named')
    return Sent(m.group(1), m.group(2), int(m.group(3)), source, cut)


def host_path(source: str) -> str:
    """A path on Wine's Z: drive (the host's /) as the host's path; other paths as they are."""
    if source[:3].upper() == 'Z:\\':
        return '/' + source[3:].replace('\\', '/')
    return source


_HASH_CHARS = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ012345'
_INVALID_DOS = set('*?<>|"+=,;[] \xe5~.')


def wine_short_name(name: str) -> str:
    """The short alias Wine makes up for a host file name that is no valid 8.3 name:
    its first four usable characters, '~' filling, three characters of a hash of the whole
    name, and the extension's first three characters."""
    low = [ord(c.lower()) for c in name]
    h = 0xBEEF
    for a, b in zip(low, low[1:]):
        h = ((h << 3) ^ (h >> 5) ^ a ^ (b << 8)) & 0xFFFF
    h = ((h << 3) ^ (h >> 5) ^ low[-1]) & 0xFFFF
    ext = None
    for i in range(1, len(name) - 1):
        if name[i] == '.':
            ext = i

    def dos(c):
        return '_' if ord(c) > 0x7F or c in _INVALID_DOS else c.upper()
    stem = name[:ext] if ext is not None else name
    out = ''.join(dos(c) for c in stem[:4])
    out += '~' * (5 - len(out))
    out += _HASH_CHARS[(h >> 10) & 31] + _HASH_CHARS[(h >> 5) & 31] + _HASH_CHARS[h & 31]
    if ext is not None:
        out += '.' + ''.join(dos(c) for c in name[ext + 1:ext + 4])
    return out


def real_host_path(path: str) -> str:
    """The desktop names a picture whose long name its code page lacks by its short alias;
    the host file of that alias, found in the same folder, or the path as it is."""
    if '~' not in os.path.basename(path) or os.path.exists(path):
        return path
    folder, alias = os.path.split(path)
    try:
        names = os.listdir(folder)
    except OSError:
        return path
    matches = [n for n in names if wine_short_name(n) == alias.upper()]
    return os.path.join(folder, matches[0]) if len(matches) == 1 else path


def tsv_escape(text: str) -> str:
    return text.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n').replace('\r', '\\r')


def record(raw: bytes, stamp: float, code_page: str = 'cp1252') -> Optional[str]:
    """The filter's output line for one raw log line (without its line end), or None."""
    try:
        sent = parse_line(raw, code_page)
    except BadLine as e:
        shown = tsv_escape(raw.rstrip(b'\r\n').decode('utf-8', errors='replace'))
        return f'{stamp:.6f}\tbad\t{tsv_escape(str(e))}\t{shown}'
    if sent is None:
        return None
    return (f'{stamp:.6f}\tsent\t{sent.before}\t{sent.after}\t{sent.milliseconds}\t'
            f'{tsv_escape(real_host_path(host_path(sent.source)))}\t{int(sent.cut)}')


def main(argv) -> int:
    code_page = 'cp1252'
    if len(argv) == 3 and argv[1] == '--code-page':
        code_page = argv[2]
    elif len(argv) != 1:
        print('usage: frame_lines.py [--code-page CP] <LOG >RECORDS', file=sys.stderr)
        return 2
    try:
        for raw in sys.stdin.buffer:
            line = record(raw, time.time(), code_page)
            if line is not None:
                sys.stdout.write(line + '\n')
                sys.stdout.flush()
    except KeyboardInterrupt:
        # Ctrl-C reaches the whole frame; the frame itself says how the run ended.
        return 130
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
