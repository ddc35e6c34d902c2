#!/usr/bin/env python3
"""What widl cannot write into the type library, added around its `widl -t` run.

    tlb_patch.py idl SOURCE.idl COPY.idl
        Writes the copy of the IDL that widl -t compiles. widl's type library writer refuses a
        string default on a by-reference string parameter
            [in, out, optional, defaultvalue("<HTML><BODY>")] BSTR* ContextHTMLStart
        (the header and identifier writers accept it). In the copy every such parameter is
        declared by value (BSTR ContextHTMLStart), so that widl writes its default, its flags
        and a function record laid out for defaults.

    tlb_patch.py tlb SOURCE.idl WIDL.tlb OUT.tlb
        Patches the type library widl wrote from that copy:
        - each of those parameters gets its type BSTR* back (the pointer type widl stored for
          the library's other BSTR* parameters), and its function record the size of the
          reconstituted FUNCDESC that goes with it;
        - every coclass marked appobject (TYPEFLAG_FAPPOBJECT) also gets TYPEFLAG_FPREDECLID,
          for which widl has no attribute: global classes have a predeclared instance.
        A parameter of SOURCE.idl that cannot be found or patched fails the build.

The type library is the MSFT layout: header, type-info offsets, segment directory, segments.
"""
import re
import struct
import sys

# ---- The IDL

_STRING = r'"(?:[^"\\]|\\.)*"'
# Scanned in order, so that strings and comments are passed over whole: an interface name, or
# a method with its parameter list (attributes in it nest one level of parentheses).
_DECLARATIONS = re.compile(
    r'{s}|//[^\n]*|/\*.*?\*/'
    r'|\b(?:disp)?interface\s+(?P<interface>\w+)'
    r'|(?P<method>\w+)\s*\((?P<params>(?:[^()"]|{s}|\((?:[^()"]|{s})*\))*)\)\s*;'.format(s=_STRING),
    re.S)
# A by-reference string parameter with a string default: attributes and BSTR, then its name.
_BYREF_STRING_DEFAULT = re.compile(
    r'(\[(?:[^\]"]|{s})*\bdefaultvalue\s*\(\s*{s}\s*\)(?:[^\]"]|{s})*\]\s*BSTR)\s*\*\s*(\w+)'.format(s=_STRING))


def by_value_copy(idl):
    """The IDL with those parameters declared by value, and (interface, method, parameter) of each."""
    marks = []
    interface = None

    def declaration(m):
        nonlocal interface
        if m['interface']:
            interface = m['interface']
        if not m['method']:
            return m[0]

        def by_value(p):
            marks.append((interface, m['method'], p[2]))
            return p[1] + ' ' + p[2]

        start, end = m.start('params') - m.start(), m.end('params') - m.start()
        return m[0][:start] + _BYREF_STRING_DEFAULT.sub(by_value, m['params']) + m[0][end:]

    return _DECLARATIONS.sub(declaration, idl), marks


# ---- The type library

class PatchError(Exception):
    pass


TKIND_COCLASS = 5
TYPEFLAG_FAPPOBJECT = 0x1
TYPEFLAG_FPREDECLID = 0x8
VT_BSTR, VT_PTR = 8, 26
BSTR_BY_VALUE = -0x80000000 | VT_BSTR << 16 | VT_BSTR  # base types are coded in the type word
PARAMFLAG_FHASDEFAULT = 0x20
FUNC_HAS_DEFAULTS = 0x1000
POINTER_TYPEDESC_SIZE = 8  # what widl counts per pointer parameter in a record's FUNCDESC size
SEG_TYPEINFO, SEG_NAME, SEG_TYPEDESC, SEG_CUSTDATA = 0, 7, 9, 11


class TypeLib:
    def __init__(self, data):
        self.data = data
        if self.int(0) != 0x5446534D:
            raise PatchError('not an MSFT type library')
        count = self.int(0x20)
        header = 0x54 + (4 if self.int(0x14) & 0x100 else 0)  # a help DLL name adds a field
        self.typeinfo_offsets = struct.unpack_from('<%di' % count, data, header)
        segments = header + 4 * count
        self.segment = [self.int(segments + 16 * i) for i in range(15)]
        self.segment_length = [self.int(segments + 16 * i + 4) for i in range(15)]

    def int(self, at):
        return struct.unpack_from('<i', self.data, at)[0]

    def set_int(self, at, value):
        struct.pack_into('<i', self.data, at, value)

    def name(self, offset):
        if offset < 0:
            return None
        entry = self.segment[SEG_NAME] + offset
        return self.data[entry + 12:entry + 12 + self.data[entry + 8]].decode('latin-1')

    def typeinfos(self):
        """(name, offset) of every type info."""
        for offset in self.typeinfo_offsets:
            base = self.segment[SEG_TYPEINFO] + offset
            yield self.name(self.int(base + 0x34)), base

    def functions(self, typeinfo):
        """(name, offset) of each function record of a type info. The records are followed by
        the members' ids, name offsets and record offsets, functions first."""
        funcs, variables = self.int(typeinfo + 0x18) & 0xFFFF, self.int(typeinfo + 0x18) >> 16
        members = self.int(typeinfo + 4)
        if funcs == 0:
            return
        arrays = members + 4 + self.int(members)
        count = funcs + variables
        for i in range(funcs):
            name = self.name(self.int(arrays + 4 * (count + i)))
            yield name, members + 4 + self.int(arrays + 4 * (2 * count + i))

    def parameters(self, record):
        """(name, offset, default) of each parameter of a function record. A record ends with its
        parameters (type, name, flags), preceded by their default values when it has any."""
        nargs = self.int(record + 20) & 0xFFFF
        params = record + (self.int(record) & 0xFFFF) - 12 * nargs
        has_defaults = self.int(record + 16) & FUNC_HAS_DEFAULTS
        for i in range(nargs):
            default = self.int(params - 4 * nargs + 4 * i) if has_defaults else -1
            yield self.name(self.int(params + 12 * i + 4)), params + 12 * i, default

    def find(self, interface, method, param):
        """(function record, offset, default) of each parameter `param` of `interface.method`."""
        return [(record, at, default)
                for typeinfo_name, typeinfo in self.typeinfos() if typeinfo_name == interface
                for function_name, record in self.functions(typeinfo) if function_name == method
                for name, at, default in self.parameters(record) if name == param]

    def pointer_type(self, target):
        """The coded type of a pointer to `target`: the offset of its type description."""
        base = self.segment[SEG_TYPEDESC]
        for offset in range(0, self.segment_length[SEG_TYPEDESC], 8):
            if self.int(base + offset) & 0xFFFF == VT_PTR and self.int(base + offset + 4) == target:
                return offset
        return None

    def is_string_default(self, default):
        # A default value is coded in place or stored in the custom-data segment (type first).
        return default >= 0 and self.int(self.segment[SEG_CUSTDATA] + default) & 0xFFFF == VT_BSTR


def restore_by_reference(lib, marks):
    """Gives the parameters the IDL copy declared by value their type BSTR* back."""
    if not marks:
        return
    bstr_pointer = lib.pointer_type(BSTR_BY_VALUE)
    if bstr_pointer is None:
        raise PatchError('the library has no BSTR* type to give back to %s.%s(%s)' % marks[0])
    for mark in sorted(set(marks)):
        patched = 0
        for record, at, default in lib.find(*mark):
            if lib.int(at) != BSTR_BY_VALUE or not lib.int(at + 8) & PARAMFLAG_FHASDEFAULT \
                    or not lib.is_string_default(default):
                continue
            lib.set_int(at, bstr_pointer)
            # The high word of the record's fourth field is the size a reader allocates for the
            # FUNCDESC with its ELEMDESCs, pointer TYPEDESCs and PARAMDESCEXs.
            lib.set_int(record + 12, lib.int(record + 12) + (POINTER_TYPEDESC_SIZE << 16))
            patched += 1
        if patched == 0:
            raise PatchError('%s.%s(%s): no by-value string parameter with a string default '
                             'in the type library to give the type BSTR*' % mark)


def set_predeclared_ids(lib):
    """Sets TYPEFLAG_FPREDECLID on every application-object class."""
    changed = 0
    for _, base in lib.typeinfos():
        flags = lib.int(base + 0x30)
        if lib.int(base) & 0xF == TKIND_COCLASS and flags & TYPEFLAG_FAPPOBJECT:
            lib.set_int(base + 0x30, flags | TYPEFLAG_FPREDECLID)
            changed += 1
    if changed == 0:
        raise PatchError('no application-object class found')


def patch(data, marks):
    lib = TypeLib(data)
    restore_by_reference(lib, marks)
    set_predeclared_ids(lib)


def main(argv):
    try:
        if len(argv) == 4 and argv[1] == 'idl':
            with open(argv[2], encoding='latin-1', newline='') as f:  # any ASCII-compatible encoding passes through
                copy, _ = by_value_copy(f.read())
            with open(argv[3], 'w', encoding='latin-1', newline='') as f:
                f.write(copy)
        elif len(argv) == 5 and argv[1] == 'tlb':
            with open(argv[2], encoding='latin-1', newline='') as f:
                _, marks = by_value_copy(f.read())
            with open(argv[3], 'rb') as f:
                data = bytearray(f.read())
            patch(data, marks)
            with open(argv[4], 'wb') as f:
                f.write(data)
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except PatchError as e:
        print('tlb_patch: %s' % e, file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
