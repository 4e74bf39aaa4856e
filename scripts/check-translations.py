#!/usr/bin/env python3
"""Fails when the English translation is incomplete: an unfinished or vanished
entry, or a text of the window that the translation source does not hold yet."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TS = os.path.join(ROOT, "translations", "brackenmoor_en.ts")
MESSAGE = re.compile(r"<message>\s*<source>(.*?)</source>\s*<translation( type=\"(\w+)\")?", re.S)


def entries(path):
    text = open(path, encoding="utf-8").read()
    found = {}
    for context in re.findall(r"<context>(.*?)</context>", text, re.S):
        name = re.search(r"<name>(.*?)</name>", context).group(1)
        for source, _, kind in MESSAGE.findall(context):
            found[(name, source)] = kind
    return found


def main():
    committed = entries(TS)
    problems = [f"{kind}: {ctx}: {src}" for (ctx, src), kind in committed.items() if kind]
    with tempfile.TemporaryDirectory() as tmp:
        fresh = os.path.join(tmp, "fresh.ts")
        shutil.copy(TS, fresh)
        subprocess.run(["bash", os.path.join(ROOT, "scripts", "update-translations.sh"), fresh], check=True)
        current = entries(fresh)
    problems += [f"not translated yet: {ctx}: {src}" for (ctx, src) in current.keys() - committed.keys()]
    problems += [f"no longer in the code: {ctx}: {src}" for (ctx, src) in committed.keys() - current.keys()]
    for p in problems:
        print(p)
    if problems:
        print(f"check-translations: {len(problems)} problem(s); run scripts/update-translations.sh and translate")
        return 1
    print(f"check-translations: ok ({len(committed)} texts)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
