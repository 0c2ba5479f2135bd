#!/usr/bin/env python3
"""scripts/frame_lines.py against delivery lines as Wine writes them (escapes, code-page
bytes, cut strings) and lines it must report instead of dropping."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts'))
import frame_lines  # noqa: E402
from frame_lines import BadLine, Sent, parse_line, record  # noqa: E402

PREFIX = b'01c0:warn:debugstr:OutputDebugStringA '


class ParseLine(unittest.TestCase):
    def test_delivery_lines(self):
        cases = [
            (rb'"Dockhaven: sent 1680x1050 as 512x320 in 150 ms: Z:\\usr\\nature\\Dune.jpg\n"',
             Sent('1680x1050', '512x320', 150, 'Z:\\usr\\nature\\Dune.jpg', False)),
            # CP1252 bytes above 0x7F arrive as \xNN, in either case of hex digit.
            (rb'"Dockhaven: sent 300x200 as 300x200 in 0 ms: Z:\\p\\Caf\xe9.jpg\n"',
             Sent('300x200', '300x200', 0, 'Z:\\p\\Café.jpg', False)),
            (rb'"Dockhaven: sent 1x70000 as 1x320 in 4294967295 ms: Z:\\p\\\xC6r\xf8.jpg\n"',
             Sent('1x70000', '1x320', 4294967295, 'Z:\\p\\Ærø.jpg', False)),
            # 0x80 is the euro sign in CP1252; 0x81 is undefined there and kept as U+0081.
            (rb'"Dockhaven: sent 2x2 as 2x2 in 1 ms: Z:\\\x80\x81.jpg\n"',
             Sent('2x2', '2x2', 1, 'Z:\\€\u0081.jpg', False)),
            # A quote, a tab, a line end and ": " inside the name are the name's.
            (rb'"Dockhaven: sent 2x2 as 2x2 in 1 ms: Z:\\a \"b\"\tc\nd: e.jpg\n"',
             Sent('2x2', '2x2', 1, 'Z:\\a "b"\tc\nd: e.jpg', False)),
            # Wine cuts long strings and says so after the closing quote.
            (rb'"Dockhaven: sent 2x2 as 2x2 in 7 ms: Z:\\very\\lo"...',
             Sent('2x2', '2x2', 7, 'Z:\\very\\lo', True)),
        ]
        for quoted, expected in cases:
            with self.subTest(quoted=quoted):
                self.assertEqual(parse_line(PREFIX + quoted + b'\n'), expected)
                self.assertEqual(parse_line((PREFIX + quoted).decode('ascii')), expected)

    def test_other_lines_are_not_deliveries(self):
        for raw in [b'', b'0024:fixme:ntdll:NtQuerySystemInformation info_class 0x9e\n',
                    PREFIX + b'"Dockhaven: started\\n"\n']:
            with self.subTest(raw=raw):
                self.assertIsNone(parse_line(raw))

    def test_unreadable_delivery_lines_raise(self):
        for quoted in [rb'"Dockhaven: sent 2x2 as 2x2 in 1 ms: Z:\\a.jpg\n',      # no closing quote
                       rb'"Dockhaven: sent 2x2 as 2x2 in 1 ms: Z:\\a\x4.jpg\n"',  # one hex digit
                       rb'"Dockhaven: sent 2x2 as 2x2 in 1 ms: Z:\\a\q.jpg\n"',   # unknown escape
                       rb'"Dockhaven: sent 2x2 as 2x2 in 1 ms: Z:\\a.jpg"',       # no line end, not cut
                       rb'"Dockhaven: sent 2x2 as 2x2 in 1 ms: \n"',              # no file
                       rb'"Dockhaven: sent 2x2 as 2x2 in"...',                    # cut before the file
                       rb'"Dockhaven: sent 00000001.3 s later\n"']:               # a line's tail
            with self.subTest(quoted=quoted):
                with self.assertRaises(BadLine):
                    parse_line(PREFIX + quoted + b'\n')


class Records(unittest.TestCase):
    def test_one_tab_separated_line_each(self):
        sent = record(PREFIX + rb'"Dockhaven: sent 4x3 as 4x3 in 9 ms: Z:\\a\tb\\\xe9.jpg\n"' + b'\n', 12.5)
        # A Z: path is the host's path; a tab in the name stays inside its field.
        self.assertEqual(sent, '12.500000\tsent\t4x3\t4x3\t9\t/a\\tb/é.jpg\t0')
        other = record(PREFIX + rb'"Dockhaven: sent 4x3 as 4x3 in 9 ms: C:\\x.jpg\n"', 2.0)
        self.assertEqual(other.split('\t')[5], 'C:\\\\x.jpg')
        bad = record(PREFIX + b'"Dockhaven: sent 4x3 as\t\\q"\n', 1.0)
        self.assertEqual(bad.split('\t')[:2], ['1.000000', 'bad'])
        self.assertEqual(len(bad.split('\t')), 4)
        self.assertNotIn('\n', bad)
        self.assertIsNone(record(b'0024:trace:x\n', 1.0))


class ShortAliases(unittest.TestCase):
    # Short aliases as Wine 8.0 listed them (dir /x) for these host names.
    LISTED = [('日本の海.jpg', '____~GFC.JPG'), ('a b.c.d.txt', 'A_B_~VTZ.TXT'),
              ('ab+c.JPG', 'AB_C~YKD.JPG'), ('verylongname', 'VERY~FQH')]

    def test_wine_short_names(self):
        for name, alias in self.LISTED:
            with self.subTest(name=name):
                self.assertEqual(frame_lines.wine_short_name(name), alias)

    def test_a_delivered_alias_is_reported_by_its_real_name(self):
        with tempfile.TemporaryDirectory() as folder:
            for name in ['日本の海.jpg', 'Café.jpg']:
                open(os.path.join(folder, name), 'wb').close()
            z = 'Z:' + folder.replace('/', '\\')
            line = (PREFIX + b'"Dockhaven: sent 2x2 as 2x2 in 1 ms: ' + z.replace('\\', '\\\\').encode() +
                    rb'\\____~GFC.JPG\n"' + b'\n')
            self.assertEqual(record(line, 1.0).split('\t')[5], os.path.join(folder, '日本の海.jpg'))
            # An alias that names no file there stays as it came.
            self.assertEqual(frame_lines.real_host_path(os.path.join(folder, 'XXXX~ABC.JPG')),
                             os.path.join(folder, 'XXXX~ABC.JPG'))


if __name__ == '__main__':
    unittest.main()
