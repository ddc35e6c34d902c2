#!/usr/bin/env python3
"""The per-class interface identifier resources, written from the finished type library.

    iid_resources.py LIBRARY.tlb OUT.rc

For every class (coclass) of the library, in the library's order, OUT.rc gets a resource
_IID_<CLASS NAME IN CAPITALS> 1 holding a 32-bit length, 16, then the identifier of the class's
default interface; for a class with a source interface, _SRCIID_<CLASS> 1 likewise holds the
identifier of its default source interface. objectmodel.rc includes OUT.rc.

The default interface is the one marked [default] (not a source); without a mark, the first one,
which is what a type library reader takes as the default too. Likewise for source interfaces.
A class without an interface of its own fails the build.
"""
import struct
import sys

from tlb_patch import TKIND_COCLASS, PatchError, TypeLib

SEG_REFTAB, SEG_GUID = 3, 5
IMPLTYPEFLAG_FDEFAULT, IMPLTYPEFLAG_FSOURCE = 0x1, 0x2


def guid_of(lib, typeinfo):
    """The 16 bytes of a type info's identifier (its GUID-table entry starts with them)."""
    at = lib.segment[SEG_GUID] + lib.int(typeinfo + 0x2C)
    return bytes(lib.data[at:at + 16])


def implemented(lib, typeinfo):
    """(type info offset, impl type flags) of each interface a class lists, in order. A class's
    interfaces are a chain of reference records (type, flags, custom data, next)."""
    out = []
    record = lib.int(typeinfo + 0x54)
    for _ in range(lib.int(typeinfo + 0x4C) & 0xFFFF):
        if record < 0:
            break
        at = lib.segment[SEG_REFTAB] + record
        reference, flags = lib.int(at), lib.int(at + 4)
        if reference & 3:  # a type of an imported library: never one of our class interfaces
            raise PatchError('a class implements an interface of another library')
        out.append((lib.segment[0] + reference, flags))
        record = lib.int(at + 12)
    return out


def default_of(interfaces, source):
    """The default among the interfaces that are (or are not) sources, or None."""
    candidates = [(ti, flags) for ti, flags in interfaces if bool(flags & IMPLTYPEFLAG_FSOURCE) == source]
    for ti, flags in candidates:
        if flags & IMPLTYPEFLAG_FDEFAULT:
            return ti
    return candidates[0][0] if candidates else None


def rc_line(kind, name, guid):
    data1, data2, data3, *data4 = struct.unpack('<IHH4H', guid)
    words = ', '.join('0x%04X' % w for w in [data2, data3] + data4)
    return '1 %s_%s { 16L, 0x%08XL, %s }\n' % (kind, name.upper(), data1, words)


def resources(lib):
    """The lines of the resource script for the classes of `lib`."""
    lines = []
    for name, typeinfo in lib.typeinfos():
        if lib.int(typeinfo) & 0xF != TKIND_COCLASS:
            continue
        interfaces = implemented(lib, typeinfo)
        default, source = default_of(interfaces, False), default_of(interfaces, True)
        if default is None:
            raise PatchError('class %s has no default interface' % name)
        lines.append(rc_line('_IID', name, guid_of(lib, default)))
        if source is not None:
            lines.append(rc_line('_SRCIID', name, guid_of(lib, source)))
    if not lines:
        raise PatchError('the library has no classes')
    return lines


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        with open(argv[1], 'rb') as f:
            lines = resources(TypeLib(bytearray(f.read())))
    except PatchError as e:
        print('iid_resources: %s' % e, file=sys.stderr)
        return 1
    with open(argv[2], 'w', encoding='ascii', newline='\n') as f:
        f.write('// Written by iid_resources.py from the type library: do not edit.\n')
        f.writelines(lines)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
