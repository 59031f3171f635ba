"""The generated stubs and the module agree: every class, field and method named in one is in the other,
and every field of every record keeps what is stored in it."""
import ast
from pathlib import Path

import narv

STUBS = Path(narv._narv.__file__).with_name("_narv.pyi")
SAMPLES = {"str": "A1", "int": -123456, "float": 2.5}


def stub_classes():
    tree = ast.parse(STUBS.read_text(encoding="utf-8"))
    return {node.name: node for node in tree.body if isinstance(node, ast.ClassDef)}


def test_stubs_and_module_name_the_same_classes_and_methods():
    classes = stub_classes()
    assert set(classes) == {name for name in dir(narv._narv) if name.startswith(("Narv", "CNarv"))}
    for name, node in classes.items():
        for method in (item.name for item in node.body if isinstance(item, ast.FunctionDef)):
            assert hasattr(getattr(narv, name), method), f"{name}.{method}"


def test_every_record_field_keeps_its_value():
    for name, node in stub_classes().items():
        if not name.startswith("Narv"):
            continue
        fields = [(item.target.id, item.annotation.id) for item in node.body if isinstance(item, ast.AnnAssign)]
        record = getattr(narv, name)
        assert record._fields == tuple(field for field, _ in fields), name
        filled = record()
        for field, kind in fields:
            try:
                setattr(filled, field, SAMPLES[kind])
            except ValueError:  # a single character
                setattr(filled, field, "A")
        empty, stored = record().to_dict(), record.from_bytes(filled.to_bytes()).to_dict()
        assert stored == filled.to_dict(), name
        assert all(stored[field] != empty[field] for field in stored), name
