#!/usr/bin/env python3
"""Windows' sort weights, learnt from its own sort keys, as our table.

    make_table.py probes DIR          writes DIR/probes.txt, the strings whose
                                      keys show what a character adds in context
    make_table.py table DIR OUT.cpp   reads DIR/chars-LOCALE.txt and
                                      DIR/probes-keys-LOCALE.txt (written by
                                      dump_sort_keys under Wine) and writes the
                                      table source

make_table.sh runs the whole round. A key (LCMapStringEx, LCMAP_SORTKEY |
NORM_IGNORECASE) reads: primary weights, 01, diacritic weights, 01, case
weights, 01, kana weights (only when there is kana), 01, punctuation
weights, 00; trailing diacritic and case weights of 2 or less are left out.
A character alone shows its weights with the trailing ones left out; the same
character before "ª" (primary 0e02, diacritic 03, case 06) shows how many it
adds; before "ー" it shows what a repeat mark copies from it; "か" before a
repeat mark shows the mark's own diacritic.
"""
import base64
import itertools
import sys
import zlib

LOCALES = ('en-US', 'ja-JP')
FOLLOWER = 'ª'
PROLONGED = 'ー'
KANA = 'か'

# The record kinds of the table, as order/windows_sort_key.cpp reads them.
IGNORED, LETTER, MARK, PUNCTUATION, REPEAT = range(5)


def probes():
    lines = []
    for u in range(1, 0x10000):
        c = chr(u)
        if c in '\n\r' or 0xD800 <= u < 0xE000:
            continue
        lines += [c + FOLLOWER, c + PROLONGED, KANA + c]
    return lines


def load_keys(path):
    keys = {}
    for line in open(path, encoding='utf-8', errors='surrogatepass', newline='\n'):
        key, text = line.rstrip('\n').split('\t', 1)
        keys[text] = bytes.fromhex(key)
    return keys


def trim(weights):
    weights = bytearray(weights)
    while weights and weights[-1] <= 2:
        weights.pop()
    return bytes(weights)


def sections(key):
    """Every way to read key as its five sections (weights may hold 01)."""
    key = key[:-1]
    separators = [i for i, b in enumerate(key) if b == 1]
    for a, b, c, d in itertools.combinations(separators, 4):
        yield key[:a], key[a + 1:b], key[b + 1:c], key[c + 1:d], key[d + 1:]


def untrimmed(alone, before_follower):
    """(primary, diacritics, cases, kana, punctuation) of a character, its
    diacritic and case weights in full, from its key alone and before ª."""
    for p, d, c, e, s in sections(alone):
        tail = b'\x01' + e + b'\x01' + s + b'\x00'
        head = p + b'\x0e\x02\x01'
        k = before_follower
        if not (k.endswith(tail) and k.startswith(head)):
            continue
        middle = k[len(head):len(k) - len(tail)]
        if not middle.endswith(b'\x06'):
            continue
        middle = middle[:-1]
        for i, b in enumerate(middle):
            if b == 1 and middle[:i].endswith(b'\x03'):
                diacritics, cases = middle[:i - 1], middle[i + 1:]
                if trim(diacritics) == d and trim(cases) == c:
                    return p, diacritics, cases, e, s
    raise ValueError('cannot read the key of ' + alone.hex())


def records(chars, keys):
    table = []
    for u in range(0x10000):
        alone = chars.get(u, b'\x01\x01\x01\x01\x00')
        c = chr(u)
        if u == 0:
            table.append((IGNORED,))
            continue
        if 0xD800 <= u < 0xE000 or c in '\n\r':
            p, d, cs, e, s = next(sections(alone))
            d, cs = (d or b'\x02')[:1], (cs or b'\x02')[:1]
        else:
            p, d, cs, e, s = untrimmed(alone, keys[c + FOLLOWER])
        if not (p or d or cs or s):
            table.append((IGNORED,))
        elif s:
            table.append((PUNCTUATION, s[2:]))
        elif p == b'\xff\xff' and not d:
            # After か: the vowel's weight for a prolonged sound mark, its
            # own diacritic, and its own width.
            p2, d2, _, e2, _ = next(sections(keys[KANA + c]))
            prolonged = p2[2:] != p2[:2]
            half_width = e2.split(b'\xff')[2].endswith(b'\xc4')
            table.append((REPEAT, (d2[1:2] or b'\x02'), prolonged | half_width << 1))
        elif not p and not cs:
            table.append((MARK, d))
        else:
            kana = vowel = None
            if e:
                parts = e.split(b'\xff')
                kana = (bool(parts[0]), len(parts[1]) > 1, bool(parts[2]))
                vowel = keys[c + PROLONGED][len(p):len(p) + 2]
            copy = (p, d[:1], b'\x02')
            if c + PROLONGED in keys and not e:
                for p2, d2, c2, e2, s2 in sections(keys[c + PROLONGED]):
                    if p2.startswith(p) and (e2, s2) == (e, s) and d2.startswith(trim(d)) and c2.startswith(trim(cs)):
                        copied = p2[len(p):]
                        weighted = copied != b'\xff\xff'
                        copy = (copied, (d2[len(d):] or b'\x02')[:1] if weighted else b'',
                                (c2[len(cs):] or b'\x02')[:1] if weighted else b'')
                        break
            table.append((LETTER, p, d, cs, kana, vowel, copy))
    return table


def counted(b):
    return bytes([len(b)]) + b


def serialise(table):
    """One record per UTF-16 unit; a primary weight is written as its
    difference from the letter before, which makes runs compress well."""
    out = bytearray()
    previous, previous_copy = b'', b''

    def delta(now, before):
        if len(now) != len(before) or not now:
            return now
        n = len(now)
        return ((int.from_bytes(now, 'big') - int.from_bytes(before, 'big')) % (1 << 8 * n)).to_bytes(n, 'big')

    for r in table:
        out.append(r[0])
        if r[0] == PUNCTUATION:
            out += r[1]
        elif r[0] == MARK:
            out += r[1][:1]
        elif r[0] == REPEAT:
            out += r[1] + bytes([r[2]])
        elif r[0] == LETTER:
            _, p, d, cs, kana, vowel, (cp, cd, cc) = r
            out += counted(delta(p, previous)) + counted(d) + counted(cs)
            if kana:
                out.append(0x80 | kana[0] | kana[1] << 1 | kana[2] << 2)
                out += vowel
            else:
                out.append(0)
            out += counted(delta(cp, previous_copy)) + counted(cd) + counted(cc)
            previous, previous_copy = p, cp
    return bytes(out)


def literal(name, data):
    packed = base64.b64encode(len(data).to_bytes(4, 'big') + zlib.compress(data, 9)).decode()
    lines = [packed[i:i + 100] for i in range(0, len(packed), 100)]
    return 'const char* const ' + name + ' =\n' + '\n'.join('    "' + line + '"' for line in lines) + ';\n'


def main():
    if sys.argv[1] == 'probes':
        with open(sys.argv[2] + '/probes.txt', 'w', encoding='utf-8') as out:
            out.write('\n'.join(probes()) + '\n')
        return
    folder, target = sys.argv[2], sys.argv[3]
    source = ['// Generated by tools/windows_sort/make_table.sh from Windows\' own sort keys; do not edit.\n'
              '#include "order/generated/windows_sort_table.h"\n\nnamespace order::windows_sort {\n']
    for locale in LOCALES:
        chars = {}
        for line in open(f'{folder}/chars-{locale}.txt'):
            unit, key = line.split()
            chars[int(unit, 16)] = bytes.fromhex(key)
        table = records(chars, load_keys(f'{folder}/probes-keys-{locale}.txt'))
        source.append('\n' + literal('table' + {'en-US': 'EnUs', 'ja-JP': 'JaJp'}[locale], serialise(table)))
    source.append('\n}\n')
    with open(target, 'w') as out:
        out.write(''.join(source))


main()
