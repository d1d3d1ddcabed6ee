#!/usr/bin/env python3
"""Draws the accuracy plots: per family, the error in ulp against the argument
of each function, ours beside the C library's call (glibc's libm for Real4
and Real8, libquadmath for Real16).

  tools/accuracy/plot.py PLOT.tsv docs/accuracy

PLOT.tsv is what `accuracy --plot=PLOT.tsv` writes: the worst error of each
side in each of 96 bins per argument range. Writes DIR/<family>.png, with
16 colours to keep the files small.
"""
import csv
import io
import math
import os
import sys
import warnings
from collections import defaultdict

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import matplotlib.ticker  # noqa: E402
from PIL import Image  # noqa: E402

COLOURS = {"ours": "#1f5fbf", "theirs": "#e07b00"}


def main():
    warnings.filterwarnings("ignore", category=RuntimeWarning)  # log axes over huge errors
    source, out_dir = sys.argv[1], sys.argv[2]
    data = defaultdict(lambda: defaultdict(lambda: defaultdict(list)))
    library = {}
    with open(source, newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            data[row["family"]][row["function"]][row["side"]].append(
                (float(row["x"]), min(max(float(row["ulp"]), 1e-3), 1e20)))
            library[row["function"]] = row["library"]
    os.makedirs(out_dir, exist_ok=True)
    for family, functions in data.items():
        cols = 4
        rows = (len(functions) + cols - 1) // cols
        fig, axes = plt.subplots(rows, cols, figsize=(11, 1.9 * rows + 0.4), squeeze=False)
        for ax in axes.flat[len(functions):]:
            ax.axis("off")
        for ax, (name, sides) in zip(axes.flat, functions.items()):
            # Ranges over many binades: log10 |x| (a log axis fails past 1e300).
            xs = [abs(p[0]) for p in sides["ours"] if p[0] != 0]
            wide = bool(xs) and max(xs) / min(xs) > 1e8
            for side in ("theirs", "ours"):  # ours on top
                points = sorted((math.log10(abs(x)), e) if wide else (x, e)
                                for x, e in sides[side] if not (wide and x == 0))
                ax.plot([p[0] for p in points], [p[1] for p in points], ".", ms=3,
                        color=COLOURS[side], label=name if side == "ours" else library[name])
            if wide:
                ax.set_title("log10 |x|", fontsize=6, loc="right", pad=2)
            ax.set_yscale("log")
            errors = [e for points in sides.values() for _, e in points]
            subs = (1, 2, 5) if max(errors) / min(errors) < 1e4 else (1,)
            ax.yaxis.set_major_locator(matplotlib.ticker.LogLocator(subs=subs, numticks=6))
            ax.yaxis.set_major_formatter(matplotlib.ticker.FuncFormatter(lambda v, _: f"{v:g}"))
            ax.yaxis.set_minor_locator(matplotlib.ticker.NullLocator())
            ax.axhline(0.5, color="#888888", lw=0.6)
            ax.tick_params(labelsize=6)
            handles, labels = ax.get_legend_handles_labels()
            ax.legend(handles[::-1], labels[::-1], fontsize=6, loc="upper left", frameon=False,
                      markerscale=2)
        fig.supylabel("error (ulp; 1e20 and more at 1e20)", fontsize=8)
        fig.supxlabel("argument (angle of (a, b) for the arc tangents of two arguments)",
                      fontsize=8)
        fig.tight_layout()
        buffer = io.BytesIO()
        fig.savefig(buffer, format="png", dpi=72)
        plt.close(fig)
        image = Image.open(buffer).convert("RGB").quantize(colors=16)
        image.save(os.path.join(out_dir, f"{family}.png"), optimize=True)


if __name__ == "__main__":
    main()
