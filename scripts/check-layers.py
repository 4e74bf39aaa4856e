#!/usr/bin/env python3
"""Fails when a source file includes a folder its layer may not use, or when a
file of the core libraries includes a Qt GUI header. Lists every offence."""
import glob
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = os.path.join(ROOT, "src")

# Which folders each folder may include; the model is the bottom layer.
ALLOWED = {
    "model": {"model"},
    "link": {"model", "link"},
    "display": {"model", "display"},
    "records": {"model", "records"},
    "output": {"model", "records", "output"},
    "soil": {"model", "records", "design", "soil"},  # the soil model designs in the design core
    "design": {"model", "design"},
    "electrode": {"model", "records", "electrode"},
    "history": {"model", "records", "soil", "history"},
    "cli": {"model", "link", "records", "soil", "design", "electrode", "history", "cli"},
    "trend": {"model", "records", "output", "trend"},
    "app": None,  # the top: wires everything
}
CORE_TARGETS = {"brackenmoor_core", "brackenmoor_soil", "brackenmoor_design", "brackenmoor_electrode", "brackenmoor_history"}
CORE_FOLDERS = {"model", "link", "cli", "soil", "design", "electrode", "history"}
# Windows of a part live in its ui/ subfolder, outside the core; they may also
# use the save and print dialogs.
UI_SUBFOLDER = "ui"
UI_EXTRA = {"output"}
GUI_MODULES = ["QtGui", "QtWidgets", "QtPrintSupport", "QtCharts"]
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')


def gui_headers():
    roots = glob.glob("/usr/include/*/qt6") + glob.glob("/usr/include/qt6")
    names = set()
    for root in roots:
        for module in GUI_MODULES:
            names.update(os.listdir(os.path.join(root, module)) if os.path.isdir(os.path.join(root, module)) else [])
    names.update(GUI_MODULES)
    if len(names) <= len(GUI_MODULES):
        sys.exit("check-layers: no Qt GUI headers found to check against (is qt6-base-dev installed?)")
    return names


def core_files():
    files = set()
    for cmake in glob.glob(os.path.join(SRC, "*", "CMakeLists.txt")):
        folder = os.path.dirname(cmake)
        text = open(cmake, encoding="utf-8").read()
        for target, body in re.findall(r"target_sources\(\s*(\w+)\s+PRIVATE(.*?)\)", text, re.S):
            if target in CORE_TARGETS:
                files.update(os.path.join(folder, f) for f in body.split())
    for folder in CORE_FOLDERS:
        files.update(glob.glob(os.path.join(SRC, folder, "*.[ch]*")))
    files = {f for f in files if os.sep + UI_SUBFOLDER + os.sep not in f}
    return {os.path.normpath(f) for f in files}


def main():
    gui = gui_headers()
    core = core_files()
    offences = []
    for path in sorted(glob.glob(os.path.join(SRC, "**", "*.[ch]*"), recursive=True)):
        rel = os.path.relpath(path, SRC)
        layer = rel.split(os.sep)[0]
        allowed = ALLOWED.get(layer, set())
        if allowed is not None and rel.split(os.sep)[1:2] == [UI_SUBFOLDER]:
            allowed = allowed | UI_EXTRA
        for number, line in enumerate(open(path, encoding="utf-8"), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(1)
            top = target.split("/")[0]
            if "/" in target and top in ALLOWED and allowed is not None and top not in allowed:
                offences.append(f"src/{rel}:{number}: {layer}/ may not include {target}")
            header = target.split("/")[-1]
            if os.path.normpath(path) in core and (header in gui or top in GUI_MODULES):
                offences.append(f"src/{rel}:{number}: core file includes GUI header {target}")
    for o in offences:
        print(o)
    if offences:
        print(f"check-layers: {len(offences)} forbidden include(s)")
        return 1
    print(f"check-layers: ok ({len(core)} core files)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
