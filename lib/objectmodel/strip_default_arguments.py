#!/usr/bin/env python3
"""Remove the default arguments from widl's C++ header.

widl writes optional parameters with C++ defaults such as `BSTR Description = L""`. A literal is
not a BSTR (it has no length prefix), so a C++ caller relying on such a default would pass an
invalid string; and once those go, the defaults after them cannot stay. Early-bound callers pass
every argument; late-bound callers get the defaults from the type library.
"""
import re
import sys

src, dst = sys.argv[1], sys.argv[2]
with open(src, encoding='utf-8') as f:
    lines = f.read().split('\n')
param = re.compile(r'^( {8}[\w \*]*?\w) = (?:L"(?:[^"\\]|\\.)*"|[^,)"]+)([,)].*)$')
with open(dst, 'w', encoding='utf-8') as f:
    f.write('\n'.join(param.sub(r'\1\2', line) for line in lines))
