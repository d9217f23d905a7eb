#!/usr/bin/env python3
"""Writes MainForm.ui from MainForm.table (the main window's widget tree) and the English texts.

    generate.py                 write client/forms/MainForm.ui
    generate.py --check         fail when MainForm.ui is not what the table gives
    generate.py --json FILE     write the expanded tree (every widget with its class, parent, geometry,
                                properties and design text) for the tests
    generate.py --members FILE  write an X-macro list of the form object's members for the tests

The table keeps the layout's families, shared sets and class looks as written; this script expands them,
checks the result (names unique, parents known, property names known, the widget and text counts) and writes
the .ui in creation order. Design texts are the English texts of the page text maps (client/resources/maps
and locale/01_English.ini), so the form shows English before any language is loaded. Only MainForm.ui is
written; other forms of this folder are left alone.
"""

import argparse
import json
import re
import sys
from collections import OrderedDict
from pathlib import Path
from xml.sax.saxutils import escape

HERE = Path(__file__).resolve().parent
TABLE = HERE / "MainForm.table"
UI = HERE / "MainForm.ui"
RESOURCES = HERE.parent / "resources"
QRC = "../resources/MainForm/MainForm.qrc"

EXPECTED_WIDGETS = 487
# Text set by retranslateUi, per class (design text or cleared).
EXPECTED_TEXTS = {"ZLabel": 111, "ZCheckBox": 95, "ZButton": 55, "ZLineEdit": 48, "ZTabPage": 7}
EXPECTED_DESIGN_TEXTS, EXPECTED_CLEARED_TEXTS = 262, 54

# The pages whose text maps give design texts; the form's own map holds only the title.
MAPPED_PAGES = ["MonitorTabPage", "RecordTabPage", "OnlineUserTabPage", "SettingTabPage", "ContactsTabPage",
                "BackupsTabPage"]
TEXT_CLASSES = ("ZLabel", "ZCheckBox", "ZButton", "ZLineEdit")

# Base classes, for the custom widget list and for "is a container".
CLASSES = OrderedDict([
    ("ZForm", ("ZForm.h", True)), ("ZPanel", ("ZPanel.h", True)), ("ZButton", ("ZButton.h", False)),
    ("ZLabel", ("ZLabel.h", False)), ("ZCheckBox", ("ZCheckBox.h", False)),
    ("ZComboBox", ("ZComboBox.h", False)), ("ZLineEdit", ("ZLineEdit.h", False)),
    ("ZTrackBar", ("ZTrackBar.h", False)), ("ZGridList", ("ZGridList.h", False)),
    ("ZItemList", ("ZItemList.h", False)), ("ZHourMinutePicker", ("ZHourMinutePicker.h", False)),
    ("ZScrollPanel", ("ZScrollPanel.h", True)), ("ZTreeView", ("ZTreeView.h", False)),
    ("ZTabControl", ("ZTabControl.h", True)), ("ZTabPage", ("ZTabPage.h", True)),
])
PLAIN_QT = {"QDateTimeEdit"}

# Skinned properties (set by name through setProperty) and their kinds.
ENUMS = {"Dock": "DockType", "TabBarPosition": "PositionType", "Orientation": "OrientationType",
         "TextType": "TextType"}
FLAGS = {"Anchor", "Border", "TabBarBorder"}
INTS = {"Radius", "BorderWidth", "TitlePadding", "TitleHeight", "WheelStepPixel", "SliderRadius",
        "ColumnHeaderHeight", "RowHeight", "ItemHeight", "MainLineSize", "Maximum", "Minimum", "Value1",
        "Value2", "TextMaxLength", "SelectedIndex", "TabBarBorderWidth"}
BOOLS = {"UserFlag", "ReplaceImageColor", "ReplaceImageWhite", "Checked", "CanSelectText", "CanSelectItem",
         "ReadOnly", "SudokuDraw", "CanChangeColumnWidth"}
SIZES = {"ButtonSize", "SysButtonSize", "TabBarSize", "ScrollAreaSize"}
RECTS = {"PaddingTBLR", "SudokuTBLR"}
PIXMAPS = {"Image", "ButtonImage", "MainLineImage", "TabBarImage", "TabBarImageSelected"}
STRINGS = {"Text", "Title"}
POSITION_FLAGS = {"Top": 1, "Bottom": 2, "Left": 4, "Right": 8, "All": 15}
# QWidget's (and QDateTimeEdit's) own properties, written with stdset.
STANDARD = {"enabled", "minimumSize", "acceptDrops", "font", "styleSheet", "minimumDateTime", "calendarPopup",
            "displayFormat"}


KEYWORDS = {"form", "set", "look", "parent", "order", "days", "fixed", "cleared", "untranslated",
            "display-format"}


class TableError(Exception):
    pass


def kind_of(name):
    if name in ENUMS:
        return "enum"
    if name in FLAGS:
        return "flags"
    if name == "alignment":
        return "alignment"
    if name in INTS:
        return "int"
    if name in BOOLS:
        return "bool"
    if name in SIZES:
        return "size"
    if name in RECTS:
        return "rect"
    if name in PIXMAPS:
        return "pixmap"
    if name in STRINGS:
        return "string"
    if name == "Items":
        return "stringlist"
    if name == "TitleFont":
        return "font"
    if "Color" in name:
        return "color"
    raise TableError("unknown property " + name)


def parse_color(text):
    if text == "transparent":
        return [0, 0, 0, 0]
    m = re.fullmatch(r"rgba?\((\d+),\s*(\d+),\s*(\d+)(?:,\s*(\d+))?\)", text)
    if not m:
        raise TableError("bad colour " + text)
    parts = [int(g) for g in m.groups() if g is not None]
    if text.startswith("rgba(") != (len(parts) == 4):
        raise TableError("bad colour " + text)
    if len(parts) == 3:
        parts.append(255)
    if any(not 0 <= p <= 255 for p in parts):
        raise TableError("colour out of range " + text)
    return parts


def parse_size(text):
    m = re.fullmatch(r"(\d+)\s*[×x]\s*(\d+)", text)
    if not m:
        raise TableError("bad size " + text)
    return [int(m.group(1)), int(m.group(2))]


def parse_value(name, text):
    kind = kind_of(name)
    if kind == "color":
        return kind, parse_color(text)
    if kind == "int":
        return kind, int(text)
    if kind == "bool":
        if text not in ("true", "false"):
            raise TableError("bad bool %s %s" % (name, text))
        return kind, text == "true"
    if kind == "enum":
        return kind, text
    if kind == "flags":
        if text.isdigit():
            value = int(text)
            names = [n for n, v in POSITION_FLAGS.items() if n != "All" and value & v]
            if sum(POSITION_FLAGS[n] for n in names) != value:
                raise TableError("bad flags " + text)
            return kind, names
        names = [p for p in re.split(r"\s*(?:,|\+|\band\b)\s*", text) if p]
        if any(n not in POSITION_FLAGS for n in names):
            raise TableError("bad flags " + text)
        return kind, names
    if kind == "alignment":
        names = [p for p in re.split(r"\s*[|+]\s*", text) if p]
        if any(not re.fullmatch(r"Align(Left|Right|HCenter|Top|Bottom|VCenter)", n) for n in names):
            raise TableError("bad alignment " + text)
        return kind, names
    if kind == "size":
        return kind, parse_size(text)
    if kind == "rect":
        m = re.fullmatch(r"top (\d+), bottom (\d+), left (\d+), right (\d+)", text)
        if not m:
            raise TableError("bad padding " + text)
        return kind, [int(g) for g in m.groups()]  # x top, y bottom, width left, height right
    if kind == "pixmap":
        m = re.fullmatch(r'"(:/[^"]+)"(?:\s*\((\d+)\s*×\s*(\d+)\))?', text)
        if not m:
            raise TableError("bad image " + text)
        size = [int(m.group(2)), int(m.group(3))] if m.group(2) else None
        return kind, {"path": m.group(1), "size": size}
    if kind == "string":
        m = re.fullmatch(r'"([^"]*)"', text)
        if not m:
            raise TableError("bad text " + text)
        return kind, m.group(1)
    if kind == "font":
        m = re.fullmatch(r'family "([^"]+)", (\d+) points', text)
        if not m:
            raise TableError("bad font " + text)
        return kind, {"family": m.group(1), "pointsize": int(m.group(2))}
    raise TableError("cannot read %s %s" % (name, text))


def split_items(text):
    """Splits a property list at `;`, outside quotes."""
    items, current, quoted = [], "", False
    for ch in text:
        if ch == '"':
            quoted = not quoted
        if ch == ";" and not quoted:
            items.append(current.strip())
            current = ""
        else:
            current += ch
    if current.strip():
        items.append(current.strip())
    return [i for i in items if i]


def split_names(text):
    return [n.strip() for n in text.split(",") if n.strip()]


def family_names(written):
    """`A` or `A to B (k = 0..n)`; the one number that differs between A and B counts along."""
    m = re.fullmatch(r"(\w+) to (\w+)(?: \(k = 0\.\.(\d+)\))?", written)
    if not m:
        if not re.fullmatch(r"\w+", written):
            raise TableError("bad name " + written)
        return [written]
    first, last = re.split(r"(\d+)", m.group(1)), re.split(r"(\d+)", m.group(2))
    differing = [i for i in range(len(first)) if i >= len(last) or first[i] != last[i]]
    if len(first) != len(last) or len(differing) != 1 or differing[0] % 2 == 0:
        raise TableError("bad family " + written)
    i = differing[0]
    start, end = int(first[i]), int(last[i])
    if m.group(3) is not None and end - start != int(m.group(3)):
        raise TableError("family count does not match k: " + written)
    width = len(first[i]) if first[i].startswith("0") else 1
    return ["".join(first[:i]) + str(start + k).zfill(width) + "".join(first[i + 1:])
            for k in range(end - start + 1)]


def eval_coordinate(text, k):
    m = re.fullmatch(r"(\d+)(?:\s*\+\s*(\d+)·k)?", text.strip())
    if not m:
        raise TableError("bad coordinate " + text)
    return int(m.group(1)) + (int(m.group(2)) * k if m.group(2) else 0)


class Table:
    def __init__(self, text):
        self.sets = {}
        self.looks = {}
        self.widgets = OrderedDict()  # name -> widget dict
        self.children = OrderedDict()  # parent -> [names]
        self.form = None
        self.fixed = OrderedDict()
        self.cleared = []
        self.untranslated = []
        self.display_formats = OrderedDict()
        self.day_template = None
        parent = None
        for number, raw in enumerate(text.splitlines(), 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            try:
                parent = self.statement(line, parent)
            except (TableError, ValueError) as e:
                raise TableError("MainForm.table:%d: %s" % (number, e))

    # -- statements
    def statement(self, line, parent):
        word, _, rest = line.partition(" ")
        if word not in KEYWORDS:
            self.row(line, parent)
            return parent
        if word == "form":
            m = re.fullmatch(r"(\w+) (\w+): (.*)", rest)
            self.form = {"name": m.group(1), "class": m.group(2), "parent": None,
                         "props": self.props(m.group(3), m.group(2))}
            self.children[self.form["name"]] = []
            return parent
        if word == "set":
            name, _, props = rest.partition(": ")
            self.sets[name] = self.props(props, None)
            return parent
        if word == "look":
            cls, _, props = rest.partition(": ")
            if props == "-":
                self.looks.pop(cls)
            else:
                self.looks[cls] = self.props(props, None)
            return parent
        if word == "parent":
            if rest not in self.children:
                raise TableError("unknown parent " + rest)
            return rest
        if word == "order":
            owner, _, names = rest.partition(": ")
            names = split_names(names)
            if sorted(names) != sorted(self.children[owner]):
                raise TableError("order of %s does not name its children" % owner)
            self.children[owner] = names
            return parent
        if word == "days":
            self.days(rest)
            return parent
        if word == "fixed":
            names, _, text = rest.partition(": ")
            for written in split_names(names.replace(" to ", "\0")):
                for name in family_names(written.replace("\0", " to ")):
                    self.fixed[name] = parse_value("Text", text)[1]
            return parent
        if word == "cleared":
            for written in split_names(rest.replace(" to ", "\0")):
                self.cleared += family_names(written.replace("\0", " to "))
            return parent
        if word == "untranslated":
            self.untranslated += split_names(rest)
            return parent
        if word == "display-format":
            names, _, text = rest.partition(": ")
            for name in split_names(names):
                self.display_formats[name] = parse_value("Text", text)[1]
            return parent
        raise TableError("cannot read: " + line)

    def row(self, line, parent):
        if parent is None:
            raise TableError("row before any parent")
        cols = [c.strip() for c in line.split("|", 4)]
        if len(cols) != 5:
            raise TableError("a row has five columns")
        written, cls, pos, size, props = cols
        if cls not in CLASSES and cls not in PLAIN_QT:
            raise TableError("unknown class " + cls)
        names = family_names(written)
        xy = [p.strip() for p in pos.split(",")]
        if len(xy) != 2:
            raise TableError("bad position " + pos)
        xs, ys = re.sub(r"^x\s+", "", xy[0]), re.sub(r"^y\s+", "", xy[1])
        w, h = parse_size(size)
        resolved = self.props(props, cls)
        for k, name in enumerate(names):
            self.add({"name": name, "class": cls, "parent": parent,
                      "geometry": [eval_coordinate(xs, k), eval_coordinate(ys, k), w, h],
                      "props": OrderedDict(resolved)})

    def add(self, widget):
        name = widget["name"]
        if name in self.widgets or (self.form and name == self.form["name"]):
            raise TableError("duplicate name " + name)
        self.widgets[name] = widget
        self.children[widget["parent"]].append(name)
        self.children[name] = []

    def days(self, rest):
        m = re.fullmatch(r"(\w+) d = (\d): (.*)", rest)
        page, day, names = m.group(1), m.group(2), split_names(m.group(3))
        if self.day_template is None:
            if day != "1":
                raise TableError("the first week page is the template (d = 1)")
            self.day_template = page
        template = self.children[self.day_template]
        copies = {}
        for name in template:
            copy = re.sub(r"1", day, name, count=1)
            copies[copy] = name
        if sorted(copies) != sorted(names):
            raise TableError("days %s: the names are not the template's with d = %s" % (page, day))
        if page == self.day_template:
            self.children[page] = names
            return
        if self.children[page]:
            raise TableError(page + " already has children")
        for copy in names:
            source = self.widgets[copies[copy]]
            self.add({"name": copy, "class": source["class"], "parent": page,
                      "geometry": list(source["geometry"]), "props": OrderedDict(source["props"])})

    # -- properties
    def props(self, text, cls):
        result = OrderedDict()
        if cls in self.looks:
            result.update(self.looks[cls])
        for item in split_items(text):
            self.prop_item(item, result)
        return result

    def prop_item(self, item, result):
        if item in ("disabled", "enabled"):
            result["enabled"] = ("bool", item == "enabled")
            return
        if item.startswith("set "):
            result.update(self.sets[item[4:]])
            return
        if item.startswith("as "):
            source = self.widgets[item[3:]]["props"]
            result.update((k, v) for k, v in source.items() if k != "Anchor")
            return
        if item == "an empty style sheet":
            result["styleSheet"] = ("string", "")
            return
        m = re.fullmatch(r"minimum date and time (\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\.000", item)
        if m:
            result["minimumDateTime"] = ("datetime", [int(g) for g in m.groups()])
            return
        if item == "calendar pop-up on":
            result["calendarPopup"] = ("bool", True)
            return
        if item == "accepts drops":
            result["acceptDrops"] = ("bool", True)
            return
        m = re.fullmatch(r"(minimum )?size (.+)", item)
        if m:
            result["minimumSize" if m.group(1) else "size"] = ("size", parse_size(m.group(2)))
            return
        m = re.fullmatch(r'font (?:(\d+) pt|family "([^"]+)"|with point size (\d+) only)', item)
        if m:
            font = {}
            if m.group(2):
                font["family"] = m.group(2)
            if m.group(1) or m.group(3):
                font["pointsize"] = int(m.group(1) or m.group(3))
            result["font"] = ("font", font)
            return
        m = re.fullmatch(r"Items((?: \d+ \"[^\"]*\",?)+)", item)
        if m:
            pairs = re.findall(r"(\d+) \"([^\"]*)\"", m.group(1))
            if [int(i) for i, _ in pairs] != list(range(len(pairs))):
                raise TableError("item indexes out of order: " + item)
            result["Items"] = ("stringlist", [t for _, t in pairs])
            return
        m = re.fullmatch(r"Items: (\d+) design items \(replaced by the text map\)", item)
        if m:
            result["Items"] = ("design-items", int(m.group(1)))
            return
        m = re.fullmatch(r"(\w+(?:(?:,| and|, and) \w+)*) (.+)", item)
        if not m:
            raise TableError("cannot read property " + item)
        names = re.split(r", and |, | and ", m.group(1))
        for name in names:
            result[name] = parse_value(name, m.group(2))


# ---------------------------------------------------------------- texts
def read_english():
    groups, group = {}, None
    for line in (RESOURCES / "locale" / "01_English.ini").read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            group = groups.setdefault(line[1:-1], {})
        elif "=" in line and group is not None:
            key, _, value = line.partition("=")
            if len(value) >= 2 and value.startswith('"') and value.endswith('"'):
                value = value[1:-1]
            group[key.strip()] = value
    return groups


def descendants(table, name):
    for child in table.children.get(name, []):
        yield child
        yield from descendants(table, child)


def apply_texts(table):
    """Fills widget["text"] (design text set by retranslateUi) and the untranslated and list texts."""
    english = read_english()
    texts = {}
    lists = {}
    for page in MAPPED_PAGES:
        mapping = json.loads((RESOURCES / "maps" / (page + ".json")).read_text(encoding="utf-8"))
        inside = set(descendants(table, page))
        for name, key in mapping.items():
            text = english[page][key]
            if name in inside:
                if table.widgets[name]["class"] in TEXT_CLASSES:
                    texts[name] = text
                else:
                    lists[name] = text.split("|")
    # The week pages show WeekTabControl's list, in page order.
    week = table.children["WeekTabControl"]
    for index, page in enumerate(week):
        texts[page] = lists["WeekTabControl"][index]
    for name, text in table.fixed.items():
        texts[name] = text
    for name in table.cleared:
        if name in texts:
            raise TableError(name + " is both mapped and cleared")
        texts[name] = ""
    for name in table.untranslated:
        table.widgets[name]["props"]["Text"] = ("string", texts.pop(name))
    for widget in table.widgets.values():
        if widget["props"].get("Items", (None,))[0] == "design-items":
            items = lists[widget["name"]]
            if len(items) != widget["props"]["Items"][1]:
                raise TableError("%s: the text map has %d items" % (widget["name"], len(items)))
            widget["props"]["Items"] = ("stringlist", items)
    for name, text in texts.items():
        if name not in table.widgets:
            raise TableError("text for unknown widget " + name)
        table.widgets[name]["text"] = text
    for name, fmt in table.display_formats.items():
        table.widgets[name]["displayFormat"] = fmt


def check(table):
    if len(table.widgets) != EXPECTED_WIDGETS:
        raise TableError("%d widgets, expected %d" % (len(table.widgets), EXPECTED_WIDGETS))
    counts = {}
    design = cleared = 0
    for widget in table.widgets.values():
        if "text" in widget:
            counts[widget["class"]] = counts.get(widget["class"], 0) + 1
            if widget["text"]:
                design += 1
            else:
                cleared += 1
    if counts != EXPECTED_TEXTS or (design, cleared) != (EXPECTED_DESIGN_TEXTS, EXPECTED_CLEARED_TEXTS):
        raise TableError("texts per class %s, %d design, %d cleared" % (counts, design, cleared))


# ---------------------------------------------------------------- output
def xml_value(kind, value, translatable=False):
    if kind == "color":
        r, g, b, a = value
        alpha = ' alpha="%d"' % a if a != 255 else ""
        return "<color%s><red>%d</red><green>%d</green><blue>%d</blue></color>" % (alpha, r, g, b)
    if kind == "int":
        return "<number>%d</number>" % value
    if kind == "bool":
        return "<bool>%s</bool>" % ("true" if value else "false")
    if kind == "enum":
        return None  # needs the property name; see xml_property
    if kind == "flags":
        return "<set>%s</set>" % "|".join("PositionFlag::" + n for n in value)
    if kind == "alignment":
        return "<set>%s</set>" % "|".join("Qt::" + n for n in value)
    if kind == "size":
        return "<size><width>%d</width><height>%d</height></size>" % tuple(value)
    if kind == "rect":
        return "<rect><x>%d</x><y>%d</y><width>%d</width><height>%d</height></rect>" % tuple(value)
    if kind == "pixmap":
        return '<pixmap resource="%s">%s</pixmap>' % (QRC, escape(value["path"]))
    if kind == "string":
        notr = "" if translatable else ' notr="true"'
        return "<string%s>%s</string>" % (notr, escape(value)) if value else "<string%s/>" % notr
    if kind == "stringlist":
        return '<stringlist notr="true">%s</stringlist>' % "".join(
            "<string>%s</string>" % escape(v) for v in value)
    if kind == "font":
        parts = ""
        if "family" in value:
            parts += "<family>%s</family>" % escape(value["family"])
        if "pointsize" in value:
            parts += "<pointsize>%d</pointsize>" % value["pointsize"]
        return "<font>%s</font>" % parts
    if kind == "datetime":
        y, mo, d, h, mi, s = value
        return ("<datetime><hour>%d</hour><minute>%d</minute><second>%d</second><year>%d</year>"
                "<month>%d</month><day>%d</day></datetime>" % (h, mi, s, y, mo, d))
    raise TableError("cannot write " + kind)


def xml_property(out, indent, name, kind, value, translatable=False):
    pad = " " * indent
    if name == "size":  # the top widget's size is its geometry at 0, 0 (uic writes resize)
        name, kind, value = "geometry", "rect", [0, 0] + value
    stdset = "" if name in STANDARD or name == "geometry" else ' stdset="0"'
    text = ("<enum>%s::%s</enum>" % (ENUMS[name], value)) if kind == "enum" else \
        xml_value(kind, value, translatable)
    out.append('%s<property name="%s"%s>%s</property>' % (pad, name, stdset, text))


def write_widget(table, out, name, indent):
    widget = table.widgets[name]
    pad = " " * indent
    out.append('%s<widget class="%s" name="%s">' % (pad, widget["class"], name))
    xml_property(out, indent + 1, "geometry", "rect", widget["geometry"])
    for prop, (kind, value) in widget["props"].items():
        xml_property(out, indent + 1, prop, kind, value)
    if "text" in widget:
        xml_property(out, indent + 1, "Text", "string", widget["text"], translatable=True)
    if "displayFormat" in widget:
        xml_property(out, indent + 1, "displayFormat", "string", widget["displayFormat"], translatable=True)
    for child in table.children[name]:
        write_widget(table, out, child, indent + 1)
    out.append("%s</widget>" % pad)


def write_ui(table):
    form = table.form
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- Written by client/forms/generate.py from MainForm.table; do not edit. -->",
           '<ui version="4.0">', " <class>%s</class>" % form["name"],
           ' <widget class="%s" name="%s">' % (form["class"], form["name"])]
    for prop, (kind, value) in form["props"].items():
        xml_property(out, 2, prop, kind, value)
    xml_property(out, 2, "Title", "string", "", translatable=True)
    for child in table.children[form["name"]]:
        write_widget(table, out, child, 2)
    out.append(" </widget>")
    out.append(" <customwidgets>")
    used = {form["class"]} | {w["class"] for w in table.widgets.values()}
    for cls, (header, container) in CLASSES.items():
        if cls not in used:
            continue
        out.append("  <customwidget>")
        out.append("   <class>%s</class>" % cls)
        out.append("   <extends>QWidget</extends>")
        out.append("   <header>%s</header>" % header)
        if container:
            out.append("   <container>1</container>")
        if cls == "ZTabControl":
            # uic reads only the .ui: it adds each page right after the page's children exist.
            out.append("   <addpagemethod>AddPage</addpagemethod>")
        out.append("  </customwidget>")
    out.append(" </customwidgets>")
    out.append(" <resources>")
    out.append('  <include location="%s"/>' % QRC)
    out.append(" </resources>")
    out.append(" <connections/>")
    out.append("</ui>")
    return "\n".join(out) + "\n"


def json_tree(table):
    """Creation order, each widget with the properties the table names (as read back through property())."""
    def props(items):
        return [{"name": k, "kind": kind, "value": v} for k, (kind, v) in items.items()]
    widgets = []

    def visit(name):
        w = table.widgets[name]
        widgets.append({"name": name, "class": w["class"], "parent": w["parent"], "geometry": w["geometry"],
                        "props": props(w["props"]), "text": w.get("text"),
                        "displayFormat": w.get("displayFormat")})
        for child in table.children[name]:
            visit(child)
    for child in table.children[table.form["name"]]:
        visit(child)
    images = {}
    for w in [table.form] + list(table.widgets.values()):
        for kind, value in w["props"].values():
            if kind == "pixmap":
                images[value["path"]] = value["size"]
    return {"form": {"name": table.form["name"], "props": props(table.form["props"])}, "widgets": widgets,
            "images": [{"path": p, "size": s} for p, s in sorted(images.items())]}


def load():
    table = Table(TABLE.read_text(encoding="utf-8"))
    apply_texts(table)
    check(table)
    return table


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--json")
    parser.add_argument("--members")
    args = parser.parse_args()
    try:
        table = load()
    except TableError as e:
        print(e, file=sys.stderr)
        return 1
    ui = write_ui(table)
    if args.json:
        Path(args.json).write_text(json.dumps(json_tree(table), ensure_ascii=False, indent=1) + "\n",
                                   encoding="utf-8")
    if args.members:
        lines = ["// Written by client/forms/generate.py: one MAINFORM_MEMBER(name) per widget of MainForm.ui."]
        lines += ["MAINFORM_MEMBER(%s)" % name for name in table.widgets]
        Path(args.members).write_text("\n".join(lines) + "\n", encoding="utf-8")
    if args.check:
        if not UI.exists() or UI.read_text(encoding="utf-8") != ui:
            print("MainForm.ui is not what MainForm.table gives: run client/forms/generate.py", file=sys.stderr)
            return 1
        return 0
    if not args.json and not args.members:
        UI.write_text(ui, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
