#!/usr/bin/env python3
"""Generates the Python binding tables of the narv package from the exported C++ headers.

The headers are the one place where records, fields, widths and interface positions are written
down; this script reads them and writes, into OUTPUT_DIR:

  NarvRecordTable.inc     one line per record and field (X-macro rows for the extension module,
                          which checks every offset and size at compile time)
  NarvInterfaceTable.inc  one line per callback and per request of both interfaces
  _callbacks.py           the callback base classes CNarvSqelTraderSpi and CNarvSqelMdSpi
  _narv.pyi               type stubs of the extension module

A declaration it does not understand stops the build instead of being skipped, so a field or an
operation added to a header cannot silently miss its binding.

usage: generate_bindings.py OUTPUT_DIR HEADER...
"""

import os
import re
import sys
from dataclasses import dataclass, field
from typing import List, Optional

TYPE_WIDTHS = {"char": 1, "int": 4, "double": 8}


@dataclass
class Field:
    name: str
    ctype: str          # char, int or double
    count: Optional[int]  # array length of a char array, None for a scalar
    offset: int
    doc: str

    @property
    def kind(self) -> str:
        if self.name.startswith("Reserved"):
            return "Reserved"
        if self.ctype == "char":
            return "Text" if self.count is not None else "Char"
        return "Int" if self.ctype == "int" else "Double"

    @property
    def width(self) -> int:
        return TYPE_WIDTHS[self.ctype] * (self.count or 1)


@dataclass
class Record:
    name: str
    doc: str
    fields: List[Field] = field(default_factory=list)
    size: int = 0


@dataclass
class Param:
    ctype: str
    name: str


@dataclass
class Operation:
    position: int
    name: str
    returns: str
    params: List[Param]
    doc: str


@dataclass
class Interface:
    name: str
    doc: str
    operations: List[Operation] = field(default_factory=list)


class HeaderError(Exception):
    pass


def doc_before(text: str, start: int) -> str:
    """The /// comment lines right above position start, joined."""
    lines = text[:start].rstrip().split("\n")
    doc = []
    for line in reversed(lines):
        stripped = line.strip()
        if not stripped.startswith("///"):
            break
        doc.append(stripped[3:].strip())
    return " ".join(reversed(doc))


FIELD_LINE = re.compile(r"^(char|int|double)\s+(\w+)(?:\[(\d+)\])?;\s*(?:///<\s*(.*))?$")


def parse_records(text: str) -> List[Record]:
    records = []
    for match in re.finditer(r"^struct (\w+)\s*\{(.*?)^\};", text, re.M | re.S):
        record = Record(match.group(1), doc_before(text, match.start()))
        offset = 0
        for line in match.group(2).split("\n"):
            line = line.strip()
            if not line:
                continue
            parsed = FIELD_LINE.match(line)
            if not parsed:
                raise HeaderError(f"{record.name}: cannot read the field line '{line}'")
            ctype, name, count, doc = parsed.groups()
            item = Field(name, ctype, int(count) if count else None, offset, doc or "")
            if item.kind != "Reserved" and offset % TYPE_WIDTHS[ctype]:
                raise HeaderError(f"{record.name}::{name} is not aligned")
            record.fields.append(item)
            offset += item.width
        record.size = offset
        stated = re.search(rf"NARV_ASSERT_SIZE\({record.name},\s*(\d+)\)", text)
        if not stated or int(stated.group(1)) != offset:
            raise HeaderError(f"{record.name}: fields add up to {offset} bytes, not the stated size")
        records.append(record)
    return records


OPERATION = re.compile(
    r"virtual\s+(void|int|const char\*)\s+(\w+)\((.*?)\)\s*(?:=\s*0;|\{\})", re.S)
PARAM = re.compile(r"^(const char\* const\*|const \w+\*|\w+\*|int|bool)\s*(\w*)$")


def parse_params(text: str) -> List[Param]:
    text = re.sub(r"/\*(\w+)\*/", r"\1", " ".join(text.split()))
    params = []
    for item in filter(None, (part.strip() for part in text.split(","))):
        parsed = PARAM.match(item)
        if not parsed:
            raise HeaderError(f"cannot read the parameter '{item}'")
        params.append(Param(parsed.group(1), parsed.group(2)))
    return params


def parse_interfaces(text: str) -> List[Interface]:
    interfaces = []
    for match in re.finditer(r"^class (\w+)\s*\{(.*?)^\};", text, re.M | re.S):
        interface = Interface(match.group(1), doc_before(text, match.start()))
        body = match.group(2)
        declarations = [m for m in re.finditer(r"virtual\b", body)]
        for position, start in enumerate(declarations):
            parsed = OPERATION.match(body, start.start())
            if not parsed:
                raise HeaderError(f"{interface.name}: cannot read the operation at [{position}]")
            doc = doc_before(body, start.start())
            stated = re.match(r"\[(\d+)\]\s*(.*)", doc)
            if stated and int(stated.group(1)) != position:
                # The numbers in the comments are the vtable positions; a gap means a slot we skip.
                position = int(stated.group(1))
            interface.operations.append(Operation(
                position, parsed.group(2), parsed.group(1), parse_params(parsed.group(3)),
                stated.group(2) if stated else doc))
        interfaces.append(interface)
    return interfaces


def c_string(text: str) -> str:
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def is_named(operation: Operation) -> bool:
    """Operations that do something: not the positional placeholders ReqExtN, RegisterExtN, OnSpareN."""
    return not re.match(r"(ReqExt|RegisterExt|OnSpare)\d+$", operation.name)


def is_spi(interface: Interface) -> bool:
    return interface.name.endswith("Spi")


def record_rows(records: List[Record]) -> str:
    rows = []
    for record in records:
        rows.append(f"NARV_RECORD({record.name}, {record.size}, {c_string(record.doc)})")
        for item in record.fields:
            rows.append(f"NARV_FIELD_{item.kind.upper()}({record.name}, {item.name}, {item.offset}, "
                        f"{item.width}, {c_string(item.doc)})")
        rows.append(f"NARV_RECORD_END({record.name})")
    return "\n".join(rows)


def interface_rows(interfaces: List[Interface]) -> str:
    rows = []
    for interface in interfaces:
        short = "Trader" if "Trader" in interface.name else "Md"
        for op in interface.operations:
            if is_spi(interface):
                params = ", ".join(f"{p.ctype} a{i}" for i, p in enumerate(op.params))
                args = ", ".join([f'"{op.name}"'] + [f"a{i}" for i in range(len(op.params))])
                rows.append(f"NARV_{short.upper()}_CALLBACK({op.name}, ({params}), ({args}))")
            elif is_request(op):
                record_type = op.params[0].ctype[len("const "):-1]
                rows.append(f"NARV_{short.upper()}_REQUEST({op.name}, {record_type}, {c_string(op.params[0].name)}, "
                            f"{c_string(op.doc)})")
    return "\n".join(rows)


def is_request(op: Operation) -> bool:
    """A request taking one record and a request id: bound by one template."""
    return (is_named(op) and len(op.params) == 2 and op.params[0].ctype.startswith("const Narv")
            and op.params[1].ctype == "int")


PY_SCALARS = {"int": "int", "bool": "bool", "const char*": "str"}


def py_type(ctype: str, interface: Interface) -> str:
    if ctype in PY_SCALARS:
        return PY_SCALARS[ctype]
    if ctype == "const char* const*":
        return "Sequence[str]"
    if ctype == "const void*":
        return "None"
    return "Optional[%s]" % re.match(r"(?:const )?(\w+)\*$", ctype).group(1)


PY_RETURNS = {"void": "None", "int": "int", "const char*": "str"}


def callbacks_module(interfaces: List[Interface]) -> str:
    out = ['"""Callback base classes of the narv package (generated from the exported headers).',
           "",
           "Subclass one, override the callbacks you need by their C++ names, and register an",
           "instance with RegisterSpi. Every callback runs on a thread of the library with the GIL",
           "held; an exception it raises is reported through sys.unraisablehook and goes no further.",
           '"""', ""]
    for interface in filter(is_spi, interfaces):
        out.append(f"class {interface.name}:")
        out.append(f"    {docstring(interface.doc)}")
        out.append("")
        for op in interface.operations:
            names = ", ".join(["self"] + [p.name for p in op.params])
            out.append(f"    def {op.name}({names}):")
            out.append(f"        {docstring(f'[{op.position}] {op.doc}')}")
            out.append("")
        out.append("")
    return "\n".join(out).rstrip() + "\n"


def docstring(text: str) -> str:
    return '"""' + text.replace("\\", "\\\\").replace('"', '\\"') + '"""'


def stubs(records: List[Record], interfaces: List[Interface]) -> str:
    out = ["# Type stubs of narv._narv, generated from the exported headers.",
           "from typing import Any, Dict, Optional, Sequence", "",
           "from ._callbacks import CNarvSqelMdSpi, CNarvSqelTraderSpi", ""]
    for record in records:
        out.append(f"class {record.name}:")
        out.append(f"    {docstring(record.doc)}")
        for item in record.fields:
            if item.kind == "Reserved":
                continue
            python = {"Text": "str", "Char": "str", "Int": "int", "Double": "float"}[item.kind]
            out.append(f"    {item.name}: {python}")
            if item.doc:
                out.append(f"    {docstring(item.doc)}")
        out.append("    def __init__(self, **fields: Any) -> None: ...")
        out.append("    def to_dict(self) -> Dict[str, Any]: ...")
        out.append("    def to_bytes(self) -> bytes: ...")
        out.append("    @staticmethod")
        out.append(f"    def from_bytes(data: bytes) -> '{record.name}': ...")
        out.append("")
    for interface in filter(lambda i: not is_spi(i), interfaces):
        out.append(f"class {interface.name}:")
        out.append(f"    {docstring(interface.doc)}")
        if "Trader" in interface.name:
            out.append("    @staticmethod")
            out.append(f"    def CreateSqelTraderApi(flow_path: str = '') -> '{interface.name}': ...")
        else:
            out.append("    @staticmethod")
            out.append(f"    def CreateSqelMdApi(flow_path: str = '', usingUdp: bool = False, "
                       f"multicast: bool = False) -> '{interface.name}': ...")
        out.append("    @staticmethod")
        out.append("    def GetApiVersion() -> str: ...")
        for op in filter(is_named, interface.operations):
            params = ["self"]
            for p in op.params:
                if p.ctype == "const char* const*":
                    params.append(f"{p.name}: Sequence[str]")
                elif p.name == "count":
                    params.append("count: Optional[int] = None")
                else:
                    params.append(f"{p.name}: {py_type(p.ctype, interface)}")
            out.append(f"    def {op.name}({', '.join(params)}) -> {PY_RETURNS[op.returns]}:")
            out.append(f"        {docstring(op.doc)}")
        out.append("")
    return "\n".join(out)


def write_if_changed(path: str, text: str) -> None:
    """Leaves an unchanged file alone so the build does not recompile what depends on it."""
    if os.path.exists(path):
        with open(path, encoding="utf-8") as existing:
            if existing.read() == text:
                return
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def main(argv: List[str]) -> int:
    if len(argv) < 3:
        print(__doc__.strip().split("\n")[-1], file=sys.stderr)
        return 2
    output, headers = argv[1], argv[2:]
    records, interfaces = [], []
    try:
        for header in headers:
            with open(header, encoding="utf-8") as source:
                text = source.read()
            records += parse_records(text)
            interfaces += parse_interfaces(text)
    except HeaderError as error:
        print(f"generate_bindings: {error}", file=sys.stderr)
        return 1
    os.makedirs(output, exist_ok=True)
    notice = "// Generated by python/generate_bindings.py from the exported headers; do not edit.\n"
    write_if_changed(os.path.join(output, "NarvRecordTable.inc"), notice + record_rows(records) + "\n")
    write_if_changed(os.path.join(output, "NarvInterfaceTable.inc"), notice + interface_rows(interfaces) + "\n")
    write_if_changed(os.path.join(output, "_callbacks.py"), callbacks_module(interfaces))
    write_if_changed(os.path.join(output, "_narv.pyi"), stubs(records, interfaces))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
