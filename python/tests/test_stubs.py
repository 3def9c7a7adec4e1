"""The type stubs name exactly what the module has."""

import ast
import pathlib

import orvada
import orvada.raw as raw

PACKAGE = pathlib.Path(orvada.__file__).parent


def public(names):
    return {name for name in names if not name.startswith("_")}


def stubbed(stub_file):
    """{name: the names of its members, or None for what is not a class} of a stub file."""
    names = {}
    for node in ast.parse((PACKAGE / stub_file).read_text()).body:
        if isinstance(node, ast.ClassDef):
            names[node.name] = public(n.name for n in node.body if isinstance(n, ast.FunctionDef))
        elif isinstance(node, ast.FunctionDef):
            names[node.name] = None
        elif isinstance(node, ast.AnnAssign):
            names[node.target.id] = None
        elif isinstance(node, ast.ImportFrom) and node.level > 0:  # from . import raw
            names.update({alias.asname or alias.name: None for alias in node.names})
    return {name: members for name, members in names.items() if not name.startswith("_")}


def test_stubs_match_the_module():
    for module, stub_file in ((orvada, "__init__.pyi"), (raw, "raw.pyi")):
        stub = stubbed(stub_file)
        assert set(stub) == public(dir(module)), stub_file
        for name, members in stub.items():
            cls = getattr(module, name)
            if members is not None and not issubclass(cls, Exception):
                assert members == public(dir(cls)), name
