#!/usr/bin/env python3
"""Counts a wineserver trace's requests between form_bench's trace marks, by request.

Usage: count_requests.py trace.txt [renames] [folders]
The trace is the standard error of `wineserver -f -d2` while `form_bench trace` ran. Only the
requests of the thread that made the marks are counted (the thread answering the confirmation
makes its own).
"""
import collections
import re
import sys

REQUEST = re.compile(r'^([0-9a-f]{4}): (\w+)\( ')
MARK = re.compile(r'name=L"kestrune-mark (\w+)-(begin|end)"')


def main():
    path = sys.argv[1]
    renames = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    folders = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    counts = {}
    current = None
    marker = None
    with open(path, encoding='utf-8', errors='replace') as trace:
        for line in trace:
            request = REQUEST.match(line)
            if not request:
                continue
            thread, name = request.groups()
            mark = MARK.search(line)
            if mark:
                marker = thread
                current = mark.group(1) if mark.group(2) == 'begin' else None
                if current:
                    counts[current] = collections.Counter()
                continue
            if current and thread == marker:
                counts[current][name] += 1
    for part, counter in counts.items():
        total = sum(counter.values())
        line = f'{part}: {total} requests'
        if renames:
            line += f', {total / renames:.2f} a rename'
        if folders:
            line += f', {total / folders:.1f} a folder'
        print(line)
        for name, count in counter.most_common(12):
            per = f' ({count / renames:.2f} a rename)' if renames else ''
            print(f'  {name}: {count}{per}')


if __name__ == '__main__':
    main()
