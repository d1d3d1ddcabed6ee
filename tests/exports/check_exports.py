#!/usr/bin/env python3
"""Checks the export table of a built vexmorg against the list of 292 names.

  - every exported name is in the list, and (PE) carries its ordinal, the
    1-based position in the list;
  - every name of the list is exported, and every implemented entry (the
    names the objects define);
  - no two names share an address;
  - none of the internal routines that stay unexported appears;
  - (PE) the DLL imports only from the system, vexmori.dll and vexmorf.dll,
    and the runtime DLLs export what the library imports from them; it
    switches off thread notifications at attach (DisableThreadLibraryCalls);
    and no exported function pops its own arguments (no `ret $n`).
"""
import argparse
import re
import subprocess
import sys

INTERNAL = """ulx_ga1q ulx_gd1q ulx_gdex ulx_gtem ulx_gte2 ulx_gtmt ulx_gtlg ulx_gtep
ulx_gtml ulx_guhy ulx_gpds ulx_gpwd ulx_gpwq ulx_gpow ulx_uexp ulx_gdl_gema
ulx_gdgemm ulx_gdgemmx ulx_gdgemv ulx_gdgemva ulx_glsame""".split()

RUNTIME = {"vexmori.dll": {"ulx_lca", "ulx_x_init", "ulx_xint"},
           "vexmorf.dll": {"ulx_fnzb", "f_aint", "f_dint"}}
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll"}

failures = []


def fail(message):
    failures.append(message)


def run(*cmd):
    return subprocess.run(cmd, check=True, capture_output=True, text=True).stdout


def elf_exports(nm, library):
    exports = {}
    for line in run(nm, "-D", "--defined-only", library).splitlines():
        fields = line.split()
        if len(fields) == 3:
            exports[fields[2].split("@")[0]] = (int(fields[0], 16), None)
    return exports


def pe_exports(objdump, library):
    text = run(objdump, "-p", library)
    base = int(re.search(r"Ordinal Base (\d+)", text).group(1))
    rva = {int(i): int(a, 16) for i, a in
           re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\] ([0-9a-f]+) Export RVA", text, re.M)}
    table = text.split("[Ordinal/Name Pointer] Table", 1)[1]
    exports = {}
    for index, name in re.findall(r"^\s*\[\s*(\d+)\] (\S+)\s*$", table, re.M):
        exports[name] = (rva[int(index)], base + int(index))
    return exports, text


def pe_imports(text):
    imports = {}
    current = None
    for line in text.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            current = m.group(1).lower()
            imports[current] = set()
            continue
        m = re.match(r"\s*[0-9a-f]+\s+\d+\s+(\S+)\s*$", line)
        if current and m:
            imports[current].add(m.group(1))
    return imports


def check_caller_pops(objdump, library, exports):
    """Every exported function returns with a plain `ret`: the caller pops."""
    current = None
    seen = set()
    for line in run(objdump, "-d", library).splitlines():
        m = re.match(r"^[0-9a-f]+ <_?([^>]+)>:", line)
        if m:
            current = m.group(1) if m.group(1) in exports else None
            if current:
                seen.add(current)
            continue
        if current and re.search(r"\bret\s+\$", line):
            fail(f"{current} pops its own arguments: {line.strip()}")
    for name in set(exports) - seen:
        fail(f"{name} not found in the disassembly")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--format", choices=["elf", "pe"], required=True)
    ap.add_argument("--tool", required=True, help="nm (elf) or objdump (pe)")
    ap.add_argument("--list", required=True)
    ap.add_argument("--implemented", required=True)
    ap.add_argument("--library", required=True)
    ap.add_argument("--runtime", nargs="*", default=[])
    args = ap.parse_args()

    names = [n.strip() for n in open(args.list) if n.strip()]
    if len(names) != 292 or names != sorted(names, key=str.encode):
        fail("the list must hold 292 names in ascending byte order")
    ordinal = {n: i + 1 for i, n in enumerate(names)}
    implemented = [n.strip() for n in open(args.implemented) if n.strip()]

    if args.format == "elf":
        exports = elf_exports(args.tool, args.library)
        text = None
    else:
        exports, text = pe_exports(args.tool, args.library)

    for name, (_, ordn) in sorted(exports.items()):
        if name not in ordinal:
            fail(f"{name} is exported but not in the list")
        elif ordn is not None and ordn != ordinal[name]:
            fail(f"{name} has ordinal {ordn}, the list gives {ordinal[name]}")
    for name in names:
        if name not in exports:
            fail(f"{name} is in the list but not exported")
    for name in implemented:
        if name not in exports:
            fail(f"{name} is implemented but not exported")
    by_address = {}
    for name, (address, _) in exports.items():
        by_address.setdefault(address, []).append(name)
    for address, shared in by_address.items():
        if len(shared) > 1:
            fail(f"{', '.join(sorted(shared))} share the address {address:#x}")
    for name in INTERNAL:
        if name in exports:
            fail(f"internal routine {name} is exported")

    if args.format == "pe":
        for dll, imported in pe_imports(text).items():
            if dll in RUNTIME:
                for name in imported - RUNTIME[dll]:
                    fail(f"{name} imported from {dll} is not part of the runtime")
            elif dll not in SYSTEM_DLLS:
                fail(f"unexpected import library {dll}")
        if "vexmori.dll" not in pe_imports(text):
            fail("the library does not import the control block from vexmori.dll")
        if "DisableThreadLibraryCalls" not in pe_imports(text).get("kernel32.dll", set()):
            fail("DllMain does not call DisableThreadLibraryCalls")
        check_caller_pops(args.tool, args.library, exports)
        for runtime in args.runtime:
            dll = runtime.replace("\\", "/").rsplit("/", 1)[-1].lower()
            provided, _ = pe_exports(args.tool, runtime)
            for name in RUNTIME.get(dll, set()) - set(provided):
                fail(f"{dll} does not export {name}")

    for f in failures:
        print("FAIL:", f)
    print(f"{len(exports)} exports checked, {len(implemented)} implemented, "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
