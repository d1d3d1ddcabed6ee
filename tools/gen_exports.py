#!/usr/bin/env python3
"""Export tables of vexmorg from the list of 292 names and the built objects.

The ordinal of a name is its position in tools/exports.txt (1-based, the names
in ascending byte order). A name is exported once an object defines it, so
every build exports exactly the entries implemented so far. Writes:

  --def   the mingw module-definition file (name @ordinal)
  --map   the ELF version script (the names global, everything else local)
  --implemented   the implemented names, one per line, in ordinal order
"""
import argparse
import pathlib
import subprocess
import sys


def read_list(path):
    names = [line.strip() for line in pathlib.Path(path).read_text().splitlines() if line.strip()]
    if names != sorted(names, key=lambda n: n.encode()):
        sys.exit(f"{path}: names are not in ascending byte order")
    return names


def defined_symbols(nm, objects, underscore):
    out = subprocess.run([nm, "-g", "--defined-only", *objects], check=True,
                         capture_output=True, text=True).stdout
    symbols = set()
    for line in out.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] in "TDBR":
            name = fields[2]
            if underscore and name.startswith("_"):
                name = name[1:]
            symbols.add(name)
    return symbols


def write_if_changed(path, text):
    path = pathlib.Path(path)
    if not path.exists() or path.read_text() != text:
        path.write_text(text)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--list", required=True)
    ap.add_argument("--nm", required=True)
    ap.add_argument("--underscore", action="store_true",
                    help="object symbols carry a leading underscore (i686 COFF)")
    ap.add_argument("--def", dest="def_file")
    ap.add_argument("--map")
    ap.add_argument("--implemented")
    ap.add_argument("--library", default="vexmorg.dll")
    ap.add_argument("objects", nargs="+")
    args = ap.parse_args()

    names = read_list(args.list)
    defined = defined_symbols(args.nm, args.objects, args.underscore)
    exported = [(i + 1, n) for i, n in enumerate(names) if n in defined]

    if args.def_file:
        lines = [f"LIBRARY {args.library}", "EXPORTS"]
        lines += [f"  {n} @{o}" for o, n in exported]
        write_if_changed(args.def_file, "\n".join(lines) + "\n")
    if args.map:
        lines = ["{", "  global:"] + [f"    {n};" for _, n in exported]
        lines += ["  local:", "    *;", "};"]
        write_if_changed(args.map, "\n".join(lines) + "\n")
    if args.implemented:
        write_if_changed(args.implemented, "".join(f"{n}\n" for _, n in exported))


if __name__ == "__main__":
    main()
