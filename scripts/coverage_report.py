#!/usr/bin/env python3
"""Prints what no test ran, from an `llvm-cov export -format=text` file.

    coverage_report.py EXPORT.json SOURCE_ROOT [--top N]

First, per folder of the product (shell/, api/ and each of its subfolders,
base/, controllers/, units/, devices/, platform/ and its subfolders), the
functions, lines and regions that ran out of all, then the product's total
and, apart, the emulated host's (emulator/). Then, per product folder, the
functions that never ran, and the code regions that never ran inside
functions that did, each list largest (most lines) first. A region inside a
larger one that never ran is not listed again. Files outside these folders
(the tests, the system's headers) are left out. Called by
scripts/coverage.sh.
"""

import argparse
import json
import os
import subprocess
import sys

PRODUCT = ("shell", "api", "base", "controllers", "units", "devices", "platform")
EMULATOR = "emulator"
CODE_REGION = 0  # llvm-cov's region kinds: 0 code, 1 expansion, 2 skipped, 3 gap
# The standard library's long spellings, as the code writes them.
SHORTER = (
    ("std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >", "std::string"),
    ("[abi:cxx11]", ""),
    ("std::__cxx11::", "std::"),
)


def folder_of(path, root):
    """The file's folder relative to the source root ("api/rhosk/"), or None
    for a file of no product folder nor the emulator's."""
    rel = os.path.relpath(path, root)
    top = rel.split(os.sep, 1)[0]
    if rel.startswith("..") or top not in PRODUCT + (EMULATOR,):
        return None
    return os.path.dirname(rel) + "/"


def is_product(folder):
    return folder.split("/", 1)[0] in PRODUCT


class Figures:
    """Covered and total counts of functions, lines and regions."""

    KINDS = ("functions", "lines", "regions")

    def __init__(self):
        self.counts = {kind: [0, 0] for kind in self.KINDS}

    def add(self, summary):
        for kind in self.KINDS:
            self.counts[kind][0] += summary[kind]["covered"]
            self.counts[kind][1] += summary[kind]["count"]

    def merge(self, other):
        for kind in self.KINDS:
            for i in (0, 1):
                self.counts[kind][i] += other.counts[kind][i]

    def cells(self):
        out = []
        for kind in self.KINDS:
            covered, count = self.counts[kind]
            percent = 100.0 * covered / count if count else 100.0
            out.append("%5d/%5d %6.2f%%" % (covered, count, percent))
        return "   ".join(out)


def lines_of(region):
    return region[2] - region[0] + 1


def contains(outer, inner):
    return (outer[0], outer[1]) <= (inner[0], inner[1]) and (inner[2], inner[3]) <= (
        outer[2],
        outer[3],
    )


def demangle(names):
    """Readable names, through llvm-cxxfilt when it is there. A function of
    internal linkage is named "file.cpp:symbol"; the file goes."""
    symbols = [name.rsplit(":", 1)[-1] for name in names]
    try:
        done = subprocess.run(
            ["llvm-cxxfilt"],
            input="\n".join(symbols) + "\n",
            capture_output=True,
            text=True,
            check=True,
        ).stdout.splitlines()
    except (OSError, subprocess.CalledProcessError):
        return symbols
    if len(done) != len(symbols):
        return symbols
    for long, short in SHORTER:
        done = [name.replace(long, short) for name in done]
    return done


def own_regions(fn):
    """The function's code regions in its own file (not in macro expansions)."""
    return [r for r in fn["regions"] if r[5] == 0 and r[7] == CODE_REGION]


def gather(export, root):
    """Per folder its figures; per file the functions that never ran and
    those that ran, as (name, span); per file the regions that never ran in
    functions that ran."""
    figures = {}
    for data in export["data"]:
        for f in data["files"]:
            folder = folder_of(f["filename"], root)
            if folder is not None:
                figures.setdefault(folder, Figures()).add(f["summary"])

    # A function compiled into several programs, or a template's
    # instantiations, has one record each: it ran when any of them ran, and
    # so did each of its regions.
    functions = {}  # (file, span of its body) -> [name, ran]
    regions = {}  # (file, span of the region) -> ran
    for data in export["data"]:
        for fn in data["functions"]:
            own = own_regions(fn)
            path = fn["filenames"][0] if fn["filenames"] else ""
            if not own or folder_of(path, root) is None:
                continue
            entry = functions.setdefault((path, tuple(own[0][:4])), [fn["name"], False])
            entry[1] = entry[1] or fn["count"] > 0
            for r in own:
                key = (path, tuple(r[:4]))
                regions[key] = regions.get(key, False) or r[4] > 0

    names = sorted({name for name, _ in functions.values()})
    readable = dict(zip(names, demangle(names)))
    unrun, ran = {}, {}
    for (path, span), (name, did_run) in functions.items():
        (ran if did_run else unrun).setdefault(path, []).append((readable[name], span))

    unrun_regions = {}
    for (path, span), did_run in regions.items():
        if not did_run:
            unrun_regions.setdefault(path, []).append(span)
    return figures, unrun, ran, outermost(unrun_regions, unrun)


def outermost(unrun_regions, unrun_functions):
    """The regions that never ran, less those inside a function that never
    ran or inside a larger region that never ran."""
    kept = {}
    for path, spans in unrun_regions.items():
        covers = [span for _, span in unrun_functions.get(path, [])]
        mine = []
        for span in sorted(spans, key=lambda s: (s[0], s[1], -s[2], -s[3])):
            if not any(contains(outer, span) for outer in covers + mine):
                mine.append(span)
        if mine:
            kept[path] = mine
    return kept


def enclosing_name(path, span, named):
    """The name of the function whose body holds the region."""
    best = None
    for name, outer in named.get(path, []):
        if contains(outer, span) and (best is None or contains(best[1], outer)):
            best = (name, outer)
    return best[0] if best else "?"


def print_lists(title, rows_by_folder, top):
    print()
    print(title)
    for folder in sorted(rows_by_folder):
        rows = sorted(rows_by_folder[folder], key=lambda row: (-row[0], row[1]))
        print("%s (%d)" % (folder, len(rows)))
        for size, where, what in rows[:top] if top else rows:
            print("  %4d  %-40s %s" % (size, where, what))
        if top and len(rows) > top:
            print("        ... and %d more" % (len(rows) - top))


def print_figures(figures):
    print("%-20s %-23s   %-23s   %-23s" % ("folder", "functions", "lines", "regions"))
    product, emulator = Figures(), Figures()
    for folder in sorted(f for f in figures if is_product(f)):
        product.merge(figures[folder])
        print("%-20s %s" % (folder, figures[folder].cells()))
    print("%-20s %s" % ("product", product.cells()))
    for folder in figures:
        if not is_product(folder):
            emulator.merge(figures[folder])
    print("%-20s %s" % (EMULATOR + "/ (apart)", emulator.cells()))


def product_rows(per_file, root, row):
    """Rows for the lists, per product folder: row(path, relative path,
    entry) for each entry of each file."""
    out = {}
    for path, entries in per_file.items():
        folder = folder_of(path, root)
        if is_product(folder):
            rel = os.path.relpath(path, root)
            out.setdefault(folder, []).extend(row(path, rel, e) for e in entries)
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("export")
    parser.add_argument("root")
    parser.add_argument("--top", type=int, default=0, help="at most N rows per folder in the lists")
    args = parser.parse_args()
    root = os.path.realpath(args.root)
    with open(args.export) as f:
        export = json.load(f)
    figures, unrun, ran, unrun_regions = gather(export, root)

    print()
    print_figures(figures)
    print_lists(
        "Functions no test ran (lines, where, function), largest first:",
        product_rows(
            unrun, root, lambda path, rel, e: (lines_of(e[1]), "%s:%d" % (rel, e[1][0]), e[0])
        ),
        args.top,
    )
    print_lists(
        "Regions no test ran in functions that ran (lines, where, function), largest first:",
        product_rows(
            unrun_regions,
            root,
            lambda path, rel, span: (
                lines_of(span),
                "%s:%d:%d-%d:%d" % ((rel,) + span),
                enclosing_name(path, span, ran),
            ),
        ),
        args.top,
    )
    return 0


if __name__ == "__main__":
    sys.exit(main())
