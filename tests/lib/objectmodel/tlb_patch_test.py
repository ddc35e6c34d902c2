#!/usr/bin/env python3
"""tlb_patch.py and iid_resources.py on a small library built the way the build makes
Basekit0308.tlb and its identifier resources.

Usage: tlb_patch_test.py WIDL [WIDL OPTIONS...]  (CTest passes the build's widl command)
"""
import os
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
SCRIPT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                      '../../../lib/objectmodel/tlb_patch.py'))
RESOURCES_SCRIPT = os.path.join(os.path.dirname(SCRIPT), 'iid_resources.py')
sys.path.insert(0, os.path.dirname(SCRIPT))
import iid_resources  # noqa: E402
import tlb_patch  # noqa: E402

WIDL = sys.argv[1:]
IDL = r'''import "oaidl.idl";
[uuid(5D1E2A10-0000-4000-8000-000000000001), version(1.0)]
library PatchTest {
    importlib("stdole2.tlb");
    [odl, uuid(5D1E2A10-0000-4000-8000-000000000002), dual, oleautomation]
    interface _First : IDispatch {
        // HRESULT Old([in, optional, defaultvalue("x")] BSTR* Text);
        [id(1), helpstring("Set(\"a\"); BSTR* b")]
        HRESULT Set([in] BSTR Fragment, [in, out, optional, defaultvalue("<HTML><BODY>")] BSTR* Start,
                    [in, out, optional, defaultvalue("a\"(b)]")] BSTR *End, [out, retval] VARIANT_BOOL* Result);
        [id(2)] HRESULT Other([in, out, optional] BSTR* Plain, [in, optional, defaultvalue("v")] BSTR Value,
                              [in, out, optional, defaultvalue(0)] VARIANT_BOOL* Flag);
    };
    [odl, uuid(5D1E2A10-0000-4000-8000-000000000003), dual, oleautomation]
    interface _Second : IDispatch {
        [id(1)] HRESULT Set([in, out, optional, defaultvalue("")] BSTR* Start);
    };
    [uuid(5D1E2A10-0000-4000-8000-000000000006)]
    dispinterface _FirstEvents { properties: methods: [id(1)] void Fired([in] long Value); };
    [uuid(5D1E2A10-0000-4000-8000-000000000004), appobject]
    coclass First { [default] interface _First; [default, source] dispinterface _FirstEvents; };
    [uuid(5D1E2A10-0000-4000-8000-000000000005)] coclass Second { [default] interface _Second; };
};
'''
MARKS = [('_First', 'Set', 'Start'), ('_First', 'Set', 'End'), ('_Second', 'Set', 'Start')]


class Built:
    """The small library, built once for all tests: the IDL, its copy, widl's and the patched library."""


def setUpModule():
    Built.dir = tempfile.TemporaryDirectory()
    Built.idl, Built.copy, Built.widl_tlb, Built.tlb = (os.path.join(Built.dir.name, n) for n in
                                                        ('t.idl', 't.typelib.idl', 't.widl.tlb', 't.tlb'))
    with open(Built.idl, 'w') as f:
        f.write(IDL)
    subprocess.run([sys.executable, SCRIPT, 'idl', Built.idl, Built.copy], check=True)
    Built.widl_output = subprocess.run(WIDL + ['-t', '-o', Built.widl_tlb, Built.copy], check=True,
                                       capture_output=True, text=True)
    subprocess.run([sys.executable, SCRIPT, 'tlb', Built.idl, Built.widl_tlb, Built.tlb], check=True)
    with open(Built.widl_tlb, 'rb') as f:
        Built.before = tlb_patch.TypeLib(bytearray(f.read()))
    with open(Built.tlb, 'rb') as f:
        Built.after = tlb_patch.TypeLib(bytearray(f.read()))


def tearDownModule():
    Built.dir.cleanup()


class TypeLibraryPatch(unittest.TestCase, Built):

    def test_copy_declares_by_reference_strings_with_string_defaults_by_value_and_widl_takes_it_silently(self):
        copy, marks = tlb_patch.by_value_copy(IDL)
        self.assertEqual(MARKS, marks)
        self.assertEqual(IDL.replace('BSTR* Start', 'BSTR Start').replace('BSTR *End', 'BSTR End'), copy)
        self.assertEqual('', self.widl_output.stdout + self.widl_output.stderr)

    def test_only_the_marked_parameters_their_records_and_the_appobject_flag_change(self):
        bstr_pointer = self.after.pointer_type(tlb_patch.BSTR_BY_VALUE)
        expected = {}
        for interface, typeinfo in self.before.typeinfos():
            if interface == 'First':
                expected[typeinfo + 0x30] = self.before.int(typeinfo + 0x30) | tlb_patch.TYPEFLAG_FPREDECLID
            for method, record in self.before.functions(typeinfo):
                patched = [at for name, at, _ in self.before.parameters(record) if (interface, method, name) in MARKS]
                for at in patched:
                    self.assertEqual(0x33, self.before.int(at + 8))  # in, out, optional, default: as widl wrote
                    expected[at] = bstr_pointer
                if patched:  # widl counts an 8-byte TYPEDESC per pointer parameter
                    expected[record + 12] = self.before.int(record + 12) + (8 * len(patched) << 16)
        self.assertEqual(3 + 2 + 1, len(expected))  # parameters, records, class
        changed = {at: self.after.int(at) for at in range(0, len(self.after.data), 4)
                   if self.after.int(at) != self.before.int(at)}
        self.assertEqual(expected, changed)

    def test_a_parameter_widl_did_not_write_by_value_fails_and_nothing_is_written(self):
        with open(self.idl + '.more', 'w') as f:
            f.write(IDL.replace('optional] BSTR* Plain', 'optional, defaultvalue("p")] BSTR* Plain'))
        out = self.tlb + '.not-written'
        run = subprocess.run([sys.executable, SCRIPT, 'tlb', self.idl + '.more', self.widl_tlb, out],
                             capture_output=True, text=True)
        self.assertEqual(1, run.returncode)
        self.assertIn('_First.Other(Plain)', run.stderr)
        self.assertFalse(os.path.exists(out))


class IdentifierResources(unittest.TestCase):
    """iid_resources.py on the patched library: a length and the identifier per class."""

    def test_each_class_gets_its_default_interface_and_its_source_interface(self):
        rc = Built.tlb + '.rc'
        subprocess.run([sys.executable, RESOURCES_SCRIPT, Built.tlb, rc], check=True)
        with open(rc) as f:
            lines = [line for line in f if not line.startswith('//')]
        # 5D1E2A10-0000-4000-8000-00000000000n: the last eight bytes as four little-endian words.
        self.assertEqual(['1 _IID_FIRST { 16L, 0x5D1E2A10L, 0x0000, 0x4000, 0x0080, 0x0000, 0x0000, 0x0200 }\n',
                          '1 _SRCIID_FIRST { 16L, 0x5D1E2A10L, 0x0000, 0x4000, 0x0080, 0x0000, 0x0000, 0x0600 }\n',
                          '1 _IID_SECOND { 16L, 0x5D1E2A10L, 0x0000, 0x4000, 0x0080, 0x0000, 0x0000, 0x0300 }\n'],
                         lines)

    def test_without_a_default_mark_the_first_interface_is_the_default(self):
        source = iid_resources.IMPLTYPEFLAG_FSOURCE
        default = iid_resources.IMPLTYPEFLAG_FDEFAULT
        interfaces = [(1, source), (2, 0), (3, source | default), (4, 0)]
        self.assertEqual(2, iid_resources.default_of(interfaces, False))
        self.assertEqual(3, iid_resources.default_of(interfaces, True))
        self.assertIsNone(iid_resources.default_of([(2, 0)], True))


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
