"""Checks the speed targets kept as ratios between benchmarks measured in the same run.

Usage: bench_targets.py FOLDER  (the JSON outputs of the benchmark programs)
Prints one line per target; exits 1 when a target is missed.
"""
import json
import math
import pathlib
import sys

# (measured, baseline, highest ratio allowed, what it means)
TARGETS = [
    ("BM_HostPageText", "BM_MuPdfStructuredText", 1.2, "host page text against MuPDF's structured text"),
    ("BM_ManualGenerate", "BM_ManualFloor", 1.15, "generation run against the plain extraction of its pages"),
    ("BM_ManualGeneratePrefetch", "BM_ManualFloor", 1.0, "generation with the second thread against the floor"),
    ("BM_LongManualGenerate", "BM_MutoolDrawText", 0.75,
     "zelta run AGB on 2,415 pages (two threads) against mutool draw -F txt of the file"),
    ("BM_PageTextReader/2", "BM_PageTextReader/0", 1.0, "reader with prefetch against the plain reader"),
    ("BM_LongNoCriteria", "BM_LongFloor", 3.0, "a level without criteria on 2,000 pages against the floor"),
    ("BM_Suggest", "BM_Fonts", 1.5, "zelta suggest against zelta fonts on a manual of 2,415 pages"),
    ("BM_RunAuto", "BM_RunGivenOptions", 2.0, "run AGB --auto against a run with the same options given"),
    ("BM_ImportText", "BM_PyMuPdfSetToc", 0.75, "importing 20,000 bookmarks from text against PyMuPDF set_toc"),
    ("BM_ImportDeep/20000", "BM_PyMuPdfSetTocDeep/20000", 2.0,
     "importing a chain 20,000 deep against PyMuPDF set_toc of it"),
    ("BM_MoveBranch/1", "BM_MoveBranch/0", 2.0,
     "moving a bookmark with a 10,000-deep chain below it against one with 10,000 children"),
    ("BM_DeleteBranch/1", "BM_DeleteBranch/0", 2.0,
     "deleting a 10,000-deep chain against a bookmark with 10,000 children"),
    ("BM_CaseProcess20k", "BM_MutoolClean20k", 1.15,
     "zelta run CBC on 20,000 bookmarks against mutool clean of the file"),
    ("BM_Batch/2", "BM_Batch/1", 1.0,
     "a batch of four files with -j 2 against -j 1 (see its load_1min: no gain without a free core)"),
    ("BM_ExportText", "BM_MutoolOutline", 1.2, "exporting 20,000 bookmarks as text against mutool's outline"),
    ("TocRun/1426", "MutoolClean/1426", 1.5, "table of contents of 1,426 bookmarks against mutool clean"),
    ("TocRun/20000", "MutoolClean/20000", 2.0, "table of contents of 20,000 bookmarks against mutool clean"),
    ("TocRun/20000", "MutoolCleanOutput/20000", 1.3,
     "the same run against mutool clean of the file it writes (MuPDF's floor for that output)"),
    ("BM_FromToc", "BM_TocPagesText", 3.0, "bookmarks from 1,000 contents entries against the text of their 20 pages"),
    ("BM_FromTocSearch", "BM_TocAndTargetPagesText", 3.0, "the same, titles found on their pages, against the text of all those pages"),
    ("BM_FromTocLongSearch", "BM_FromTocLong", 3.0, "1,000 contents pages, titles found on their pages, against the same run without"),
    ("BM_DesktopFirstPaint", "BM_MutoolDrawPage1", 2.5,
     "desktop start to page 1 painted (2,415 pages) against mutool draw of page 1"),
]

# The same for a counter of the benchmarks instead of their time.
COUNTER_TARGETS = [
    ("BM_PeakMemory/2000", "BM_PeakMemory/250", "peak_MiB", 1.5, "peak memory of generation, 2,000 against 250 pages"),
    ("BM_ImportText", "BM_PyMuPdfSetToc", "peak_MiB", 1.0, "peak memory of the text import against PyMuPDF set_toc"),
    ("BM_ImportText", "BM_PdftkUpdateInfo", "peak_MiB", 1.0, "peak memory of the text import against pdftk update_info"),
]


# A counter of one benchmark against a fixed bound.
BOUND_TARGETS = [
    ("TocRun/1426", "growth_MiB", 1.0, "file growth of a Latin table of contents of 1,426 entries (MiB)"),
    ("BM_DesktopFirstPaint", "seconds", 0.3, "desktop start to page 1 painted (seconds)"),
]


# Counters printed beside the targets: what a ratio ran under (the machine's load, the cores
# a run kept busy).
INFO_COUNTERS = [
    ("BM_LongManualGenerate", ("cpu_per_wall", "load_1min")),
    ("BM_Batch/1", ("load_1min",)),
    ("BM_Batch/2", ("load_1min",)),
]


# How time grows with size: the exponent k of time ~ size^k fitted between two runs.
GROWTH_TARGETS = [
    ("BM_ImportDeep/1000", "BM_ImportDeep/20000", 1.2, "growth of the import time with the depth of a chain"),
]


def medians(folder, field="real_time"):
    found = {}
    for path in pathlib.Path(folder).glob("*.json"):
        for run in json.loads(path.read_text()).get("benchmarks", []):
            if run.get("aggregate_name") != "median":
                continue
            # "BM_X/iterations:2/real_time_median" and "BM_X/real_time_median" are both BM_X.
            name = run["run_name"].split("/iterations:")[0].removesuffix("/real_time")
            if field in run:
                found[name] = run[field]
    return found


def main():
    checks = [(medians(sys.argv[1]), *target) for target in TARGETS]
    for measured, baseline, field, limit, meaning in COUNTER_TARGETS:
        checks.append((medians(sys.argv[1], field), measured, baseline, limit, meaning))
    missed = 0
    for times, measured, baseline, limit, meaning in checks:
        if measured not in times or baseline not in times:
            print(f"skipped  {meaning}: {measured} or {baseline} was not run")
            continue
        ratio = times[measured] / times[baseline]
        verdict = "ok" if ratio <= limit else "MISSED"
        missed += verdict != "ok"
        print(f"{verdict:8} {ratio:5.2f}x (at most {limit}x)  {meaning}")
    times = medians(sys.argv[1])
    for small, large, limit, meaning in GROWTH_TARGETS:
        if small not in times or large not in times:
            print(f"skipped  {meaning}: {small} or {large} was not run")
            continue
        sizes = int(large.rsplit("/", 1)[1]) / int(small.rsplit("/", 1)[1])
        exponent = math.log(times[large] / times[small]) / math.log(sizes)
        verdict = "ok" if exponent <= limit else "MISSED"
        missed += verdict != "ok"
        print(f"{verdict:8} {exponent:5.2f}  (at most {limit})  {meaning} (exponent)")
    for measured, field, limit, meaning in BOUND_TARGETS:
        values = medians(sys.argv[1], field)
        if measured not in values:
            print(f"skipped  {meaning}: {measured} was not run")
            continue
        verdict = "ok" if values[measured] <= limit else "MISSED"
        missed += verdict != "ok"
        print(f"{verdict:8} {values[measured]:5.2f} (at most {limit})  {meaning}")
    for measured, fields in INFO_COUNTERS:
        found = [(field, medians(sys.argv[1], field).get(measured)) for field in fields]
        found = [f"{field} {value:.2f}" for field, value in found if value is not None]
        if found:
            print(f"info     {measured}: " + ", ".join(found))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
