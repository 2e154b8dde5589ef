#!/usr/bin/env python3
"""Turns a frame profile (pulsar --profile FILE) into a per-scene table.

    scripts/profile-summary.py FILE [--skip N]

For every scene: the frames drawn, the median, 95th and 99th percentile of the frame time,
the passes per frame, the mean CPU time of the frame and of the director, the scene updates
and the Direct3D layer, and each pass's share of the scene's frame time (its GPU time; passes
drawn into the same target add up). --skip leaves out the first N frames (warm-up).
"""
import argparse
import math
import sys
from collections import OrderedDict, defaultdict

SCENE_NAMES = {0: "blob", 1: "zelle", 2: "qualle", 3: "fratze", 4: "magnet", 5: "flagge",
               7: "tunnel", 9: "soft", 10: "logo"}


def percentile(values, fraction):
    """Nearest-rank percentile of a non-empty list."""
    ordered = sorted(values)
    rank = max(1, math.ceil(fraction * len(ordered)))
    return ordered[rank - 1]


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[middle]
    return (ordered[middle - 1] + ordered[middle]) / 2.0


def parse(lines):
    """Frames as dicts, and the start-up time in ms (None when absent). Malformed lines are
    reported on stderr and skipped, never guessed at."""
    frames, startup = [], None
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\n")
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        try:
            if fields[0] == "startup":
                startup = float(fields[1])
                continue
            if fields[0] != "frame" or len(fields) < 6:
                raise ValueError("not a frame line")
            frame = {"index": int(fields[1]), "time": int(fields[2]), "scene": int(fields[3]),
                     "frame_ms": float(fields[4]), "cpu_ms": float(fields[5]), "passes": [], "cpu": {}}
            for item in fields[6:]:
                name, value = item.rsplit("=", 1)
                if name.startswith("cpu:"):
                    frame["cpu"][name[4:]] = float(value)
                else:
                    gpu, cpu = value.split("/")
                    frame["passes"].append((name, float(gpu), float(cpu)))
            frames.append(frame)
        except (ValueError, IndexError) as error:
            print(f"line {number}: skipped ({error})", file=sys.stderr)
    return frames, startup


CPU_SECTIONS = ("director", "update", "layer")


def summarise(frames):
    """Per scene, in order of first appearance: the figures of the table."""
    by_scene = OrderedDict()
    for frame in frames:
        by_scene.setdefault(frame["scene"], []).append(frame)
    rows = []
    for scene, group in by_scene.items():
        times = [f["frame_ms"] for f in group]
        total = sum(times)
        shares = defaultdict(float)
        for f in group:
            for name, gpu, _ in f["passes"]:
                shares[name] += gpu
        rows.append({
            "scene": scene,
            "frames": len(group),
            "median": median(times),
            "p95": percentile(times, 0.95),
            "p99": percentile(times, 0.99),
            "passes": sum(len(f["passes"]) for f in group) / len(group),
            "cpu": sum(f["cpu_ms"] for f in group) / len(group),
            # Mean CPU ms of the director, the scene updates and the Direct3D layer.
            "sections": {name: sum(f["cpu"].get(name, 0.0) for f in group) / len(group) for name in CPU_SECTIONS},
            "shares": sorted(((gpu / total if total > 0 else 0.0, name) for name, gpu in shares.items()),
                             reverse=True),
        })
    return rows


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("profile")
    parser.add_argument("--skip", type=int, default=0, help="leave out the first N frames")
    parser.add_argument("--top", type=int, default=5, help="passes listed per scene")
    args = parser.parse_args(argv)
    try:
        with open(args.profile, encoding="utf-8") as file:
            frames, startup = parse(file)
    except OSError as error:
        print(f"{args.profile}: {error.strerror}", file=sys.stderr)
        return 1
    frames = [f for f in frames if f["index"] >= args.skip]
    if not frames:
        print(f"{args.profile}: no frames", file=sys.stderr)
        return 1
    if startup is not None:
        print(f"start-up to the first frame: {startup:.0f} ms")
    print(f"{'scene':<12}{'frames':>7}{'median':>9}{'p95':>9}{'p99':>9}{'passes':>8}{'cpu':>8}"
          + "".join(f"{name:>10}" for name in CPU_SECTIONS) + "  largest passes")
    for row in summarise(frames):
        name = f"{row['scene']} {SCENE_NAMES.get(row['scene'], '')}".strip()
        passes = ", ".join(f"{n} {s * 100:.0f}%" for s, n in row["shares"][:args.top])
        print(f"{name:<12}{row['frames']:>7}{row['median']:>9.1f}{row['p95']:>9.1f}{row['p99']:>9.1f}"
              f"{row['passes']:>8.1f}{row['cpu']:>8.1f}"
              + "".join(f"{row['sections'][name]:>10.1f}" for name in CPU_SECTIONS) + f"  {passes}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
