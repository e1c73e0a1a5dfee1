#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs into tests/fuzz/corpus/<name>/, each in its target's
input layout (numbers little-endian; a text is its length in units, then per unit one byte below
0x80 or 0x80 and the raw 16-bit unit). Run it again after a layout changes."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def u8(n): return bytes([n & 0xFF])
def u16(n): return struct.pack('<H', n & 0xFFFF)
def i32(n): return struct.pack('<i', n)
def u32(n): return struct.pack('<I', n)


def units(s):
    data = s.encode('utf-16-le', 'surrogatepass')
    return [int.from_bytes(data[i:i + 2], 'little') for i in range(0, len(data), 2)]


def text(s):
    out = u16(len(units(s)))
    for unit in units(s):
        out += u8(unit) if unit < 0x80 else b'\x80' + u16(unit)
    return out


def blob(data): return u16(len(data)) + data


def rot13(s):
    return ''.join(chr((ord(c) - base + 13) % 26 + base) if c.isascii() and c.isalpha() else c
                   for c in s for base in [ord('A') if c.isupper() else ord('a')])


def counts(run, focus=0, size=16):
    return (b'\0' * 4 + u32(run) + u32(focus)).ljust(size, b'\0')[:size]


def user_assist():
    def value(name, data, exists=None, target=None):
        out = text(rot13(name)) + blob(data)
        if exists is not None:  # the answers asked for once the name gives a candidate
            out += u8(1 if exists else 0)
            if exists:
                out += u8(1) + text(target) if target is not None else u8(0)
        return out

    def seed(family, values, system=r'C:\Windows\system32', result=0):
        return u8(family) + u16(len(values)) + b''.join(values) + text(system) + i32(result)

    programs = '{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}'
    return {
        'nt6_merged_by_name': seed(0, [
            value(r'C:\Program Files\Tool\tool.exe', counts(5, 2), True),
            value(r'D:\Other\Tool.exe', counts(3, 1), True),
            value(r'C:\Windows\notepad.exe', counts(9), True)]),
        'nt6_known_folder_shortcut': seed(0, [
            value(programs + r'\Accessories\Calculator.lnk', counts(7), True,
                  r'C:\Windows\system32\calc.exe'),
            value(r'C:\Windows\system32\calc.exe', counts(2), True)]),
        'nt6_excluded_and_missing': seed(0, [
            value(r'C:\Temp\setup.exe', counts(4), True),
            value(r'C:\Windows\Installer\x.exe', counts(4), True),
            value(r'C:\Gone\gone.exe', counts(4), False),
            value('{LOOP}\\a.exe', counts(1)),  # a cycle: no candidate
            value('UEME_CTLSESSION', counts(1, size=4))], result=259),
        'nt5_csidl2_and_runpath': seed(1, [
            value(r'UEME_RUNPATH:%csidl2%\Accessories\Notepad.lnk', counts(6, size=8), True,
                  r'C:\WINDOWS\system32\notepad.exe'),
            value(r'UEME_RUNPATH:C:\WINDOWS\system32\notepad.exe', counts(1, size=8), True),
            value(r'UEME_RUNPIDL:%csidl2%', counts(1, size=8))], r'C:\WINDOWS\system32', 234),
        'hostile_names_and_data': seed(0, [
            value('C:\\' + 'x' * 297, counts(1)),
            value(r'C:\a\b.exe', b'\xff' * 200),
            value('C:\\\ud800\\\udc00lone.exe', b'\xff' * 9, True),
            value('C:\\\U0001F600\\%:{}.exe', b'\x01\x02\x03', True, 'Z:' + '\\y' * 140),
            value('', b'')]),
    }


def known_folders():
    def folder(flags, relative='', parent=None, name=None):
        out = u8(flags) + text(relative)
        if flags & 2:
            out += u8(parent) if isinstance(parent, int) else u8(0xF0) + text(parent)
        elif flags & 4:
            out += text(name)
        return out

    special = [r'C:\Users\u\AppData\Roaming', r'C:\ProgramData', r'C:\Users\u\Start Menu\Programs']

    def seed(folders, resolve, prefixes, trim=(r'C:\Users\u\AppData\Roaming', 2)):
        out = u16(len(folders)) + b''.join(folders)
        out += b''.join(u8(1) + text(path) for path in special)
        out += text(resolve) + u16(len(prefixes))
        for guid, rest, csidl2 in prefixes:
            out += (u8(guid) if isinstance(guid, int) else u8(0xF0) + text(guid))
            out += text(rest) + text(csidl2)
        return out + text(trim[0]) + u8(trim[1])

    chain = [folder(0), folder(3, r'Microsoft\Windows\Start Menu\Programs', 0),
             folder(3, 'Accessories', 1), folder(1 | 1 << 3, 'Apps'), folder(4, 'x', name='other')]
    return {
        'chains_to_the_data_roots': seed(chain, '{2}', [
            (1, r'\Accessories\Notepad.lnk', r'%csidl2%\Accessories\Notepad.lnk'),
            ('C:', r'\Tools\{x}\a.exe', r'C:\%CSIDL2%\x.lnk'),
            (3, 'no backslash', '%csidl3%\\x')]),
        'cycles': seed([folder(3, 'a', 1), folder(3, 'b', 0), folder(2, '', 2),
                        folder(3, 'c', '{0}'), folder(3, 'd', '{3}')], '{3}',
                       [(0, r'\x.exe', '%csidl2%')]),
        'deep_chain': seed([folder(0)] + [folder(3, 'level', i) for i in range(20)], '{20}',
                           [(16, r'\x.exe', '%csidl2%\\' + 'p' * 250)]),
        'unusable_and_missing_parents': seed(
            [folder(0xE1, 'u'), folder(3, 'v', 0), folder(3, 'w', 9), folder(1, 'r' * 258)],
            '{3}', [(3, '\\' + 'x' * 10, '%csidl2%\\y')], ('a\\b\\c', 5)),
    }


def result_text():
    def field(s): return u8(1) + text(s)
    def raw_field(): return u8(0) + b''.join(u16(0x4100 + i) for i in range(260))

    def record(run, icon, name, exe=None):
        out = i32(run) + i32(0) + (icon if isinstance(icon, bytes) else field(icon))
        out += u8(1) + field(exe) if exe is not None else u8(0)
        return out + (name if isinstance(name, bytes) else field(name))

    def seed(flags, module, accessories, records, answers):
        out = u8(flags) + text(module)
        if flags & 1:
            out += text(accessories)
        else:
            out += u16(len(accessories)) + b''.join(text(a) for a in accessories)
        return out + u16(len(records)) + b''.join(records) + bytes(answers)

    module = r'C:\Plugins\npDesklaunch.dll'
    return {
        'typical_catalogue': seed(1, module, r'C:\WINDOWS\system32', [
            record(9, r'C:\WINDOWS\system32\notepad.exe', 'notepad'),
            record(5, r'C:\Tools\tool.exe', 'tool'),
            record(3, r'C:\Apps\Word.exe', 'Word', r'C:\Apps\Word.exe')], [1] * 8),
        'hostile_names': seed(2, module, ['C:\\a#b*c.exe', 'nobackslash', '\\', '', 'x\\y', 'z\\6'], [
            record(1, 'C:\\\ud800x.exe', 'name#with*separators'),
            record(2, raw_field(), raw_field()),
            record(-5, 'C:\\' + 'p' * 256, '\udfff', 'C:\\other.exe'),
            record(2 ** 31 - 1, 'no backslash', 'n')], [1, 0, 1, 0, 1, 1, 0, 1, 1]),
        'more_than_twenty': seed(1, module, r'C:\W\s', [
            record(40 - i, 'C:\\Apps\\app%d.exe' % i, 'app%d' % i) for i in range(25)], [1] * 30),
        'no_images_folder': seed(0, 'm' * 255, [r'C:\W\s\notepad.exe'], [
            record(1, r'C:\Tools\t.exe', 't')], [1]),
    }


def script_arguments():
    def seed(n_max, data, args, text_after):
        out = u16(n_max) + blob(data) + u16(len(args)) + bytes(args) + u8(0)
        return out + text(text_after)

    cjk = '记事本'.encode()
    return {
        'ascii_path': seed(8, rb'C:\Windows\notepad.exe', [5], 'notepad'),
        'chinese_name_cut_at_four': seed(4, cjk * 3, [6], '计算器'),
        'four_byte_sequences': seed(5, '😀a😀bc😀'.encode(), [5, 6], '\U0001F600' * 200),
        'invalid_and_zero_bytes': seed(7, b'\xc0\xaf\x80\x80ab\x00cd\xe8\xae\xf0\x9f\x98', [3, 5],
                                       '\ud800lone'),
        'beyond_a_piece': seed(63, cjk * 120, [5], 'x' * 300),
    }


def bitmap():
    def seed(width, height, bits, row_pixels, rows, pixels, answers):
        out = i32(width) + i32(height) + u16(bits) + u16(row_pixels) + u16(rows)
        return out + b''.join(bytes([c, m]) for c, m in pixels) + bytes(answers)

    icon = [(0, 0), (0, 1), (255, 255), (255, 1)] * 4 * 4 * 2
    return {
        'icon_32x32': seed(32, 32, 32, 4, 4, icon, [1, 1, 1]),
        'largest_side': seed(0x4000, 0x4000, 32, 3, 2, icon[:24], [1, 3, 1]),
        'refused_sizes_short_write': seed(0x4001, -1, 24, 2, 3, icon[:24], [1, 0, 1]),
    }


def picker():
    def rect(*r): return struct.pack('<4i', *r)
    work = rect(0, 0, 1280, 1024)
    return {
        'centred_on_owner': u8(3) + rect(10, 20, 511, 321) + rect(100, 100, 900, 700) + work +
        u32(0x10000000) + text('notepad.exe'),
        'pushed_inside_right_edge': u8(3) + rect(0, 0, 501, 301) + rect(1000, 100, 1800, 700) +
        work + u32(0x10000000) + text('Word.lnk'),
        'no_owner_minimised': u8(2) + rect(0, 0, 400, 300) + rect(0, 0, 0, 0) +
        rect(-1920, 0, 0, 1080) + u32(0x30000000) + text('archive.tar.gz'),
        'dialog_larger_than_area': u8(0) + rect(0, 0, 3000, 3000) + rect(0, 0, 0, 0) +
        rect(0, 0, 1024, 768) + u32(0) + text('no extension'),
        'title_with_surrogates': u8(0) + rect(0, 0, 10, 10) + rect(0, 0, 0, 0) +
        rect(0, 0, 100, 100) + u32(0) + text('a' * 258 + '\U0001F600.exe'),
    }


for name, seeds in [('user_assist', user_assist()), ('known_folders', known_folders()),
                    ('result_text', result_text()), ('script_arguments', script_arguments()),
                    ('bitmap', bitmap()), ('picker', picker())]:
    folder = os.path.join(here, 'corpus', name)
    os.makedirs(folder, exist_ok=True)
    for seed, data in seeds.items():
        with open(os.path.join(folder, seed), 'wb') as f:
            f.write(data)
