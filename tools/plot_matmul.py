#!/usr/bin/env python3
"""Draws GFLOP/s against n for the matrix products of a vexmorg_bench run.

  vexmorg_bench --benchmark_filter='^matmul/' --benchmark_format=json > matmul.json
  tools/plot_matmul.py matmul.json docs/matmul.svg [docs/performance.md]

Each benchmark "matmul/<entry>_<n>[~<reference>]" is one point of the line
of <entry> (or <reference>); its items are multiply-adds, so GFLOP/s is
twice the items per second over 1e9. Where two entries share a reference
(the same gfortran MATMUL beside g_matmld and g_mt22blasd) the line is
drawn once. Writes the plot with matplotlib when it is installed, else as
a small SVG of its own. With a third argument, also writes the figures as
a table (a line per route, a column per n) between the markers
<!-- gflops:matmul --> and <!-- /gflops:matmul --> of that file.
"""
import json
import math
import re
import sys


def series(path):
    lines = {}
    for b in json.load(open(path))["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        m = re.match(r"matmul/(\w+?)_(\d+)(?:~(\w+))?$", b.get("run_name", b["name"]))
        if not m or "items_per_second" not in b:
            continue
        entry, n, ref = m.group(1), int(m.group(2)), m.group(3)
        lines.setdefault(ref or entry, {})[n] = 2 * b["items_per_second"] / 1e9
    return {name: sorted(points.items()) for name, points in lines.items()}


def with_matplotlib(lines, out):
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    fig, ax = plt.subplots(figsize=(7, 4.5))
    for name, pts in sorted(lines.items()):
        ax.plot([n for n, _ in pts], [g for _, g in pts], marker="o", label=name)
    ax.set_xscale("log", base=2)
    ax.set_yscale("log")
    ax.set_xlabel("n (n-by-n operands)")
    ax.set_ylabel("GFLOP/s")
    ax.legend(fontsize=8)
    fig.savefig(out)


def with_svg(lines, out):
    w, h, left, bottom, top, right = 720, 440, 70, 50, 20, 170
    ns = [n for pts in lines.values() for n, _ in pts]
    gs = [g for pts in lines.values() for _, g in pts if g > 0]
    x0, x1 = math.log2(min(ns)), math.log2(max(ns))
    y0, y1 = math.floor(math.log10(min(gs))), math.ceil(math.log10(max(gs)))
    px = lambda n: left + (math.log2(n) - x0) / max(x1 - x0, 1) * (w - left - right)
    py = lambda g: h - bottom - (math.log10(g) - y0) / max(y1 - y0, 1) * (h - bottom - top)
    colours = ["#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2",
               "#7f7f7f", "#bcbd22", "#17becf"]
    svg = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
           'font-family="sans-serif" font-size="11">',
           f'<rect width="{w}" height="{h}" fill="white"/>']
    for e in range(y0, y1 + 1):
        y = py(10 ** e)
        svg.append(f'<line x1="{left}" y1="{y:.1f}" x2="{w - right}" y2="{y:.1f}" stroke="#ddd"/>')
        svg.append(f'<text x="{left - 6}" y="{y + 4:.1f}" text-anchor="end">{10 ** e:g}</text>')
    for n in sorted(set(ns)):
        x = px(n)
        svg.append(f'<text x="{x:.1f}" y="{h - bottom + 16}" text-anchor="middle">{n}</text>')
    svg.append(f'<text x="{(left + w - right) / 2}" y="{h - 12}" text-anchor="middle">'
               'n (n-by-n operands)</text>')
    svg.append(f'<text x="16" y="{h / 2}" transform="rotate(-90 16 {h / 2})" '
               'text-anchor="middle">GFLOP/s</text>')
    for k, (name, pts) in enumerate(sorted(lines.items())):
        c = colours[k % len(colours)]
        path = " ".join(f"{px(n):.1f},{py(g):.1f}" for n, g in pts if g > 0)
        svg.append(f'<polyline points="{path}" fill="none" stroke="{c}" stroke-width="2"/>')
        for n, g in pts:
            svg.append(f'<circle cx="{px(n):.1f}" cy="{py(g):.1f}" r="3" fill="{c}"/>')
        y = top + 14 * k + 10
        svg.append(f'<line x1="{w - right + 10}" y1="{y}" x2="{w - right + 30}" y2="{y}" '
                   f'stroke="{c}" stroke-width="2"/>')
        svg.append(f'<text x="{w - right + 36}" y="{y + 4}">{name}</text>')
    svg.append("</svg>")
    open(out, "w").write("\n".join(svg) + "\n")


def table(lines, doc):
    ns = sorted({n for pts in lines.values() for n, _ in pts})
    rows = ["| route | " + " | ".join(f"n = {n}" for n in ns) + " |",
            "|---|" + "---:|" * len(ns)]
    for name, pts in sorted(lines.items()):
        g = dict(pts)
        rows.append(f"| `{name}` | " + " | ".join(f"{g[n]:.2f}" if n in g else "" for n in ns) + " |")
    text = open(doc).read()
    block = "<!-- gflops:matmul -->\n" + "\n".join(rows) + "\n<!-- /gflops:matmul -->"
    text = re.sub(r"<!-- gflops:matmul -->.*?<!-- /gflops:matmul -->", lambda _: block, text,
                  flags=re.S)
    open(doc, "w").write(text)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    lines = series(sys.argv[1])
    if len(sys.argv) == 4:
        table(lines, sys.argv[3])
    try:
        with_matplotlib(lines, sys.argv[2])
    except ImportError:
        with_svg(lines, sys.argv[2])
    for name, pts in sorted(lines.items()):
        print(name, " ".join(f"{n}:{g:.2f}" for n, g in pts))


if __name__ == "__main__":
    main()
