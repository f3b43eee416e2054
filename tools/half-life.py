#!/usr/bin/python3
"""The closed eye's half-life in each unit of an ensemble folder.

The half-life is the number of steps from closing the right eye until its mean weight has fallen
to half its value at closing. Measured on course.csv's rows: the closing must fall on a logged
step (rear with run=N where N - 1 is a multiple of --log-every), and the half-life is then exact
to --log-every steps. Prints, per group, the mean and sample SD over the units that halved and how
many did; with --figure FILE.png, draws them (needs ImageMagick's convert).

Usage: tools/half-life.py ENSEMBLE_DIR [--figure FILE.png]
"""
import csv
import math
import pathlib
import statistics
import subprocess
import sys


def half_life(course):
    """Steps from the closing to the first logged row at or below half, or None."""
    closing = None  # trained steps and mean weight at the last logged step with the eye open
    with open(course, newline="") as file:
        for row in csv.DictReader(file):
            if row["right_ticked"] == "1":
                closing = (int(row["trained_steps"]), float(row["mean_weight_right"]))
            elif closing is None:
                raise SystemExit(f"{course}: the right eye is closed before a logged open step")
            elif float(row["mean_weight_right"]) <= closing[1] / 2:
                return int(row["trained_steps"]) - closing[0]
    return None


def groups_of(folder):
    """{group name: [half-life or None per seed]} in the folder's order of groups."""
    groups = {}
    for course in sorted(pathlib.Path(folder).glob("*/seed-*/course.csv")):
        groups.setdefault(course.parent.parent.name, []).append(half_life(course))
    return groups


def summary(lives):
    halved = [life for life in lives if life is not None]
    mean = statistics.mean(halved) if halved else math.nan
    sd = statistics.stdev(halved) if len(halved) > 1 else math.nan
    return mean, sd, len(halved), len(lives)


def draw(groups, path):
    """Mean ± SD of each group as a bar with whiskers, log scale, one colour per rule."""
    width, height, left, bottom, top = 780, 420, 110, 70, 40
    names = list(groups)
    values = {name: summary(groups[name]) for name in names}
    finite = [m + (s if not math.isnan(s) else 0) for m, s, n, _ in values.values() if n]
    low, high = 2.0, math.ceil(math.log10(max(finite)) + 0.2)

    def y_of(steps):
        return height - bottom - (math.log10(steps) - low) / (high - low) * (height - bottom - top)

    colours = {"bcm": "#c0392b", "oja": "#2471a3", "law-cooper": "#7d3c98"}
    mvg = [f"viewbox 0 0 {width} {height}", "fill white", f"rectangle 0,0 {width},{height}",
           "stroke black", f"line {left},{top} {left},{height - bottom}",
           f"line {left},{height - bottom} {width - 20},{height - bottom}"]
    for power in range(int(low), int(high) + 1):
        y = y_of(10 ** power)
        mvg += ["stroke #dddddd", f"line {left + 1},{y:.1f} {width - 20},{y:.1f}", "stroke none",
                "fill black", f"text {left - 75},{y + 5:.1f} '{10 ** power:,}'"]
    step = (width - 20 - left) / len(names)
    for i, name in enumerate(names):
        mean, sd, halved, units = values[name]
        fields = dict(part.split("=") for part in name.split(","))
        x = left + step * (i + 0.5)
        colour = colours.get(fields.get("rule", "bcm"), "gray")
        if halved:
            y = y_of(mean)
            mvg += ["stroke none", f"fill {colour}",
                    f"rectangle {x - step * 0.3:.1f},{y:.1f} {x + step * 0.3:.1f},{height - bottom}"]
            if not math.isnan(sd):
                y_low, y_high = y_of(max(mean - sd, 10 ** low)), y_of(mean + sd)
                mvg += ["stroke black", f"line {x:.1f},{y_low:.1f} {x:.1f},{y_high:.1f}",
                        f"line {x - 6:.1f},{y_high:.1f} {x + 6:.1f},{y_high:.1f}",
                        f"line {x - 6:.1f},{y_low:.1f} {x + 6:.1f},{y_low:.1f}"]
        if halved < units:
            mvg += ["stroke none", "fill black",
                    f"text {x - 22:.1f},{height - bottom - 8} '{units - halved} of {units}'",
                    f"text {x - 22:.1f},{height - bottom - 22} 'never'"]
        mvg += ["stroke none", "fill black",
                f"text {x - 18:.1f},{height - bottom + 18} '{fields.get('rule', '')}'",
                f"text {x - 18:.1f},{height - bottom + 34} '{fields.get('closed-noise', '')}'"]
    mvg += ["fill black", f"text 10,{height - bottom + 18} 'rule'",
            f"text 10,{height - bottom + 34} 'closed-noise'",
            f"text {left},{top - 15} 'steps until the closed eye\\'s mean weight halves "
            f"(mean \u00b1 SD over the seeds that halved; log scale)'"]
    subprocess.run(["convert", "-size", f"{width}x{height}", "xc:white", "-font", "DejaVu-Sans",
                    "-pointsize", "13", "-draw", "\n".join(mvg), str(path)], check=True)


def main(arguments):
    if not arguments or arguments[0].startswith("-"):
        raise SystemExit(__doc__.strip().splitlines()[-1])
    groups = groups_of(arguments[0])
    print("| group | half-life (steps), mean \u00b1 SD | units that halved |")
    print("|---|---|---|")
    for name, lives in groups.items():
        mean, sd, halved, units = summary(lives)
        spread = "" if math.isnan(sd) else f" \u00b1 {sd:,.0f}"
        shown = "never" if not halved else f"{mean:,.0f}{spread}"
        print(f"| {name} | {shown} | {halved} of {units} |")
    if len(arguments) == 3 and arguments[1] == "--figure":
        draw(groups, arguments[2])


if __name__ == "__main__":
    main(sys.argv[1:])
