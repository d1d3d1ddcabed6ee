#!/usr/bin/env python3
"""Turns a run of vexmorg_bench into the ratio tables of docs/performance.md.

  tools/bench_report.py build/bench/bench/vexmorg_bench [docs/performance.md] [--filter REGEX]

Runs the benchmark program (JSON output, several repetitions, the median
kept), pairs each "family/entry" with its "family/entry~reference" and
rewrites the section of each family between the markers
<!-- bench:family --> and <!-- /bench:family --> with the table of times and
ratios (ours / reference: below 1 is faster than the reference).
"""
import argparse
import json
import os
import platform
import re
import subprocess
import sys


def run(program, regex):
    out = subprocess.run([program, "--benchmark_format=json", "--benchmark_repetitions=5",
                          "--benchmark_report_aggregates_only=true",
                          "--benchmark_min_time=0.05", f"--benchmark_filter={regex}"],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def medians(data):
    times = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") == "median":
            times[b["run_name"]] = b["cpu_time"] if b["time_unit"] == "ns" else None
    return times


def tables(times):
    families = {}
    for name, t in times.items():
        family, entry = name.split("/", 1)
        if "~" in entry:
            continue
        refs = [n for n in times if n.startswith(f"{family}/{entry}~")]
        for ref in refs:
            families.setdefault(family, []).append((entry, t, ref.split("~", 1)[1], times[ref]))
    return families


def render(rows, machine):
    lines = [f"Measured on {machine}; median of 5 repetitions, nanoseconds per call.", "",
             "| entry | ns | reference | ns | ratio |", "|---|---:|---|---:|---:|"]
    for entry, t, ref, rt in sorted(rows):
        lines.append(f"| `{entry}` | {t:.2f} | `{ref}` | {rt:.2f} | {t / rt:.2f} |")
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("program")
    ap.add_argument("doc", nargs="?", default="docs/performance.md")
    ap.add_argument("--filter", default=".", help="benchmarks to run (a family: '^trig/')")
    args = ap.parse_args()
    program, doc = args.program, args.doc
    data = run(program, args.filter)
    cpu = data["context"].get("host_name", platform.node())
    model = ""
    try:
        model = re.search(r"model name\s*:\s*(.*)", open("/proc/cpuinfo").read()).group(1)
    except (OSError, AttributeError):
        pass
    machine = f"{model or cpu}, {data['context'].get('num_cpus', os.cpu_count())} cores"
    text = open(doc).read() if os.path.exists(doc) else "# Performance\n"
    for family, rows in tables(medians(data)).items():
        section = f"<!-- bench:{family} -->\n{render(rows, machine)}\n<!-- /bench:{family} -->"
        pattern = re.compile(rf"<!-- bench:{re.escape(family)} -->.*?<!-- /bench:{re.escape(family)} -->",
                             re.S)
        if pattern.search(text):
            text = pattern.sub(lambda _: section, text)
        else:
            text += f"\n## {family}\n\n{section}\n"
        print(f"{family}: {len(rows)} pairs")
    with open(doc, "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
