#!/usr/bin/env python3
"""Give every application-object class of a type library a predeclared instance.

widl has no attribute for TYPEFLAG_FPREDECLID, so the build sets it after widl has written the
library: every coclass marked appobject (TYPEFLAG_FAPPOBJECT) also gets TYPEFLAG_FPREDECLID.
The file is the MSFT layout: header, type-info offsets, segment directory, type-info table.
"""
import struct
import sys

TKIND_COCLASS = 5
TYPEFLAG_FAPPOBJECT = 0x1
TYPEFLAG_FPREDECLID = 0x8


def patch(data: bytearray) -> int:
    magic, _, _, _, _, varflags, _, _, count = struct.unpack_from('<9i', data, 0)
    if magic != 0x5446534D:
        raise ValueError('not an MSFT type library')
    header = 0x54 + (4 if varflags & 0x100 else 0)
    offsets = struct.unpack_from('<%di' % count, data, header)
    segdir = header + 4 * count
    typeinfo_segment = struct.unpack_from('<i', data, segdir)[0]
    changed = 0
    for off in offsets:
        base = typeinfo_segment + off
        kind = struct.unpack_from('<i', data, base)[0] & 0xF
        flags = struct.unpack_from('<i', data, base + 0x30)[0]
        if kind == TKIND_COCLASS and flags & TYPEFLAG_FAPPOBJECT:
            struct.pack_into('<i', data, base + 0x30, flags | TYPEFLAG_FPREDECLID)
            changed += 1
    return changed


def main() -> int:
    src, dst = sys.argv[1], sys.argv[2]
    with open(src, 'rb') as f:
        data = bytearray(f.read())
    if patch(data) == 0:
        print('tlb_predeclid: no application-object class found', file=sys.stderr)
        return 1
    with open(dst, 'wb') as f:
        f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main())
