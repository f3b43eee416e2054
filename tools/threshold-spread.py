#!/usr/bin/python3
"""How much the threshold varies late in each unit of an ensemble folder.

For each unit, over the logged rows from trained step FROM on: the threshold's mean, its standard
deviation over time, that as a fraction of the mean, and its range. Prints, per group, the mean
± SD of each over the seeds, and how many units ended (diverged) before FROM.

Usage: tools/threshold-spread.py ENSEMBLE_DIR FROM
"""
import csv
import pathlib
import statistics
import sys


def spread(course, first):
    with open(course, newline="") as file:
        theta = [float(row["theta"]) for row in csv.DictReader(file)
                 if int(row["trained_steps"]) >= first]
    if not theta:
        return None
    mean, sd = statistics.mean(theta), statistics.pstdev(theta)
    return mean, sd, sd / mean, max(theta) - min(theta)


def main(arguments):
    if len(arguments) != 2:
        raise SystemExit(__doc__.strip().splitlines()[-1])
    groups = {}
    for course in sorted(pathlib.Path(arguments[0]).glob("*/seed-*/course.csv")):
        groups.setdefault(course.parent.parent.name, []).append(spread(course, int(arguments[1])))
    print("| group | mean θ | SD of θ over time | SD / mean | range of θ | ended before |")
    print("|---|---|---|---|---|---|")
    for name, all_units in sorted(groups.items(), key=lambda item: float(item[0].split("=")[1])):
        units = [unit for unit in all_units if unit is not None]
        ended = f"{len(all_units) - len(units)} of {len(all_units)}"
        if not units:
            print(f"| {name} | | | | | {ended} |")
            continue
        cells = []
        for column, digits in zip(zip(*units), (4, 4, 3, 4)):
            sd = statistics.stdev(column) if len(column) > 1 else 0.0
            cells.append(f"{statistics.mean(column):.{digits}f} \u00b1 {sd:.{digits}f}")
        print(f"| {name} | " + " | ".join(cells) + f" | {ended} |")


if __name__ == "__main__":
    main(sys.argv[1:])
