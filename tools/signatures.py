"""Reads the signatures of tools/exports.tsv.

A signature reads `ret name(kind:type name, ...)`: `ref:` passes an address,
`val:` a value; `ref:args list=[...]` passes the address of an argument
list; `ref:(a|b|...)` an address whose type another argument names. The
results and outputs are the `ref:` parameters named `result`, `out` or
`*_out` (`sin_out`, `sinh_out`, `flag_out`, ...), and `s` and `c` where both
are there (the sine and cosine of the paired routines); every other address
is only read (the direction `s` of NEAREST), except the pair that
`ulx_guwc` rescales in place, which is read and written (`updated`). The
outputs of the sine and hyperbolic kernels are written as their mode asks,
so they count as `updated` too: maybe written, nothing beside them.
"""
import re

OUTPUTS = {"result", "s", "c", "out"}
PAIR_OUTPUTS = {"s", "c"}
UPDATED = {"ulx_guwc": {"a", "b"}}
# The sine and hyperbolic kernels: each output only when the mode asks.
UPDATED.update({k: {"sin_out", "cos_out"} for k in ("ulx_gusc", "ulx_gusd", "ulx_gusq")})
UPDATED["ulx_gush"] = {"sinh_out", "cosh_out"}


class Param:
    def __init__(self, text):
        text = text.strip()
        m = re.match(r"(ref|val):(\S+)\s+(\S+)", text)
        if not m:
            raise ValueError(f"cannot read parameter {text!r}")
        self.kind, self.type, self.name = m.groups()
        if self.type == "args":
            self.name = "list"
        self.output = self.kind == "ref" and (self.name in OUTPUTS or self.name.endswith("_out"))
        self.updated = False

    def __repr__(self):
        return f"{self.kind}:{self.type} {self.name}"


class Signature:
    def __init__(self, ordinal, name, family, text):
        self.ordinal, self.name, self.family = int(ordinal), name, family
        m = re.match(r"(\S+)\s+(\w+)\((.*)\)$", text.strip())
        if not m or m.group(2) != name:
            raise ValueError(f"cannot read signature {text!r}")
        self.ret = m.group(1)
        body = m.group(3)
        # An argument list `ref:args list=[...]` is one parameter.
        self.args_list = None
        lm = re.match(r"ref:args list=\[(.*)\]$", body)
        if lm:
            self.args_list = [p.strip() for p in lm.group(1).split(",")]
            self.params = [Param("ref:args list")]
        else:
            self.params = [Param(p) for p in body.split(",")] if body.strip() else []
        names = {p.name for p in self.params}
        for p in self.params:
            p.updated = p.kind == "ref" and p.name in UPDATED.get(name, ())
        if not PAIR_OUTPUTS <= names:
            for p in self.params:
                if p.name in PAIR_OUTPUTS:
                    p.output = False


def read_tsv(path):
    sigs = []
    with open(path) as f:
        next(f)
        for line in f:
            if line.strip():
                sigs.append(Signature(*line.rstrip("\n").split("\t")))
    return sigs


def read_implemented(path):
    with open(path) as f:
        return [n.strip() for n in f if n.strip()]


def write_if_changed(path, text):
    """Writes text to path unless the file holds it already (no rebuild)."""
    try:
        with open(path) as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w") as f:
        f.write(text)
