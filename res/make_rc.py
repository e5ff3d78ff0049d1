#!/usr/bin/env python3
"""Writes the Windows resource script of Mirvan.exe from the one description
of the dialogs (res/dialogs/*.json) and the one string table
(res/strings.json) that the Qt bar reads too, so the two front ends cannot
drift apart. Usage: make_rc.py RES_DIR ICON_DIR OUT.rc

The script is UTF-8 (code page 65001); windres stores every text as UTF-16,
and the program's ANSI calls hand it out in the system code page."""

import json
import pathlib
import sys

DIALOG_STYLES = {
    "popup": "WS_POPUP",
    "caption": "WS_CAPTION",
    "sysmenu": "WS_SYSMENU",
    "minimizebox": "WS_MINIMIZEBOX",
    "thickframe": "WS_THICKFRAME",
    "modalframe": "DS_MODALFRAME",
    "setforeground": "DS_SETFOREGROUND",
    "topmost": "DS_SYSMODAL",  # a topmost window in Win32
    "absalign": "DS_ABSALIGN",
}
# A system-modal template is topmost; saying so in the extended style as
# well makes every window manager keep it above the others.
DIALOG_EX_STYLES = {"appwindow": "WS_EX_APPWINDOW", "acceptfiles": "WS_EX_ACCEPTFILES", "topmost": "WS_EX_TOPMOST"}

# kind -> (window class, base style)
KINDS = {
    "button": ("Button", "BS_PUSHBUTTON"),
    "defbutton": ("Button", "BS_DEFPUSHBUTTON"),
    "iconbutton": ("Button", "BS_PUSHBUTTON | BS_ICON"),
    "checkbox": ("Button", "BS_AUTOCHECKBOX"),
    "radio": ("Button", "BS_AUTORADIOBUTTON"),
    "static": ("Static", "SS_LEFT"),
    "edit": ("Edit", "ES_LEFT"),
    "combo": ("ComboBox", "0"),
    # Double-clicks reported; the list fills its rectangle to the pixel.
    "listbox": ("ListBox", "LBS_NOTIFY | LBS_NOINTEGRALHEIGHT"),
}
CONTROL_STYLES = {
    "tabstop": "WS_TABSTOP",
    "group": "WS_GROUP",
    "vscroll": "WS_VSCROLL",
    "hscroll": "WS_HSCROLL",
    "border": "WS_BORDER",
    "multiline": "BS_MULTILINE",
    "noprefix": "SS_NOPREFIX",
    "left": "SS_LEFT",
    "dropdown": "CBS_DROPDOWN",
}
CONTROL_EX_STYLES = {"right": "WS_EX_RIGHT", "acceptfiles": "WS_EX_ACCEPTFILES"}
# "autohscroll" means the same to an edit box and to a combo box's edit field,
# under two names.
AUTOHSCROLL = {"edit": "ES_AUTOHSCROLL", "combo": "CBS_AUTOHSCROLL"}


def rc_string(text):
    out = []
    for ch in text:
        if ch == '"':
            out.append('""')
        elif ch == "\\":
            out.append("\\\\")
        elif ch == "\n":
            out.append("\\n")
        else:
            out.append(ch)
    return '"' + "".join(out) + '"'


def styles(names, table, kind=None):
    flags = []
    for n in names:
        if n in table:
            flags.append(table[n])
        elif n == "autohscroll" and kind in AUTOHSCROLL:
            flags.append(AUTOHSCROLL[kind])
    return flags


def control_line(c):
    if c["kind"] == "icon":
        return "    ICON %d, -1, %d, %d, %d, %d" % (c["icon"], c["x"], c["y"], c["w"], c["h"])
    cls, base = KINDS[c["kind"]]
    style = " | ".join([base] + styles(c["styles"], CONTROL_STYLES, c["kind"]))
    ex = " | ".join(styles(c["styles"], CONTROL_EX_STYLES)) or "0"
    ident = c["id"] if c["id"] else -1
    return '    CONTROL %s, %d, "%s", %s, %d, %d, %d, %d, %s' % (
        rc_string(c["text"]), ident, cls, style, c["x"], c["y"], c["w"], c["h"], ex)


def dialog(d):
    style = ["WS_POPUP"] + [s for s in styles(d["styles"], DIALOG_STYLES) if s != "WS_POPUP"]
    ex = styles(d["styles"], DIALOG_EX_STYLES)
    lines = ["%d DIALOGEX %d, %d, %d, %d" % (d["id"], d["x"], d["y"], d["w"], d["h"]),
             "STYLE " + " | ".join(style)]
    if ex:
        lines.append("EXSTYLE " + " | ".join(ex))
    lines.append("CAPTION " + rc_string(d["caption"]))
    font = d["font"]
    # SHIFTJIS_CHARSET: the face is a Japanese one.
    lines.append("FONT %d, %s, 400, 0, 0x80" % (font["size"], rc_string(font["family"])))
    lines.append("BEGIN")
    lines += [control_line(c) for c in d["controls"]]
    lines.append("END")
    return lines


def main():
    res, icons, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    lines = ["#pragma code_page(65001)", "#include <windows.h>", "",
             "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT", ""]
    for svg in sorted(res.glob("icons/*.svg")):
        ico = (icons / (svg.stem + ".ico")).as_posix()
        lines.append('%s ICON "%s"' % (svg.stem, ico))
    lines.append("")
    for f in sorted(res.glob("dialogs/*.json")):
        lines += dialog(json.loads(f.read_text(encoding="utf-8")))
        lines.append("")
    strings = json.loads((res / "strings.json").read_text(encoding="utf-8"))["strings"]
    lines.append("STRINGTABLE")
    lines.append("BEGIN")
    for key in sorted(strings, key=int):
        lines.append("    %s %s" % (key, rc_string(strings[key])))
    lines.append("END")
    out.write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
