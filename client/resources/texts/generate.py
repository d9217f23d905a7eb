#!/usr/bin/env python3
"""Builds the language files and the window text maps from the text tables in this folder.

windows.txt is the one table of every text key: its English text and the widgets (object names, or "Title"
for the window title) whose text it is. From it come locale/01_English.ini and one JSON map per window
(maps/<Window>.json), so the maps and the English file cannot drift apart. Every NN_<Language>.txt
here holds one language's texts for the same groups and keys and becomes locale/NN_<Language>.ini.

Table syntax, one entry per line:
    [Group]
    <key> "<text>" [widget ...]
<key> is a three-digit text key (or Name / EnglishName in [Language]); <text> is a JSON string, so blanks
at its ends stay visible and kept; widgets are only allowed in windows.txt. Lines starting with '#' and
blank lines are ignored.

The resource list language.qrc is written beside them.

Usage: generate.py            write the files
       generate.py --check    exit 1 when a written file differs from what the tables give
"""
import json
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)
ENGLISH_INI = '01_English.ini'
MASTER_TABLE = 'windows.txt'
LINE = re.compile(r'^(\w+)\s+("(?:[^"\\]|\\.)*")((?:\s+\w+)*)\s*$')


class TableError(Exception):
    pass


def read_table(path, widgets_allowed):
    """Returns [(group, [(key, text, [widgets])])] in file order."""
    groups = []
    seen_groups = set()
    with open(path, encoding='utf-8') as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip('\r\n')
            where = '%s:%d' % (os.path.basename(path), number)
            if not line.strip() or line.lstrip().startswith('#'):
                continue
            m = re.match(r'^\[(\w+)\]\s*$', line)
            if m:
                if m.group(1) in seen_groups:
                    raise TableError('%s: group [%s] repeated' % (where, m.group(1)))
                seen_groups.add(m.group(1))
                groups.append((m.group(1), []))
                continue
            m = LINE.match(line)
            if not m or not groups:
                raise TableError('%s: not a table line: %r' % (where, line))
            key, text, widgets = m.group(1), json.loads(m.group(2)), m.group(3).split()
            if widgets and not widgets_allowed:
                raise TableError('%s: widgets belong in %s only' % (where, MASTER_TABLE))
            if any(k == key for k, _, _ in groups[-1][1]):
                raise TableError('%s: key %s repeated in [%s]' % (where, key, groups[-1][0]))
            if '\n' in text or '\r' in text:
                raise TableError('%s: a text is one line' % where)
            groups[-1][1].append((key, text, widgets))
    return groups


def ini_value(text):
    """Quotes every value: Qt's INI reader splits an unquoted value at ',', cuts it at ';', drops blanks at
    its ends and reads '\\' as an escape. Inside quotes only '\\' and '"' need escaping; a leading '@'
    would still be read as a typed variant, '@@' stands for one '@'."""
    if text.startswith('@'):
        text = '@' + text
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def ini_file(groups):
    out = []
    for group, rows in groups:
        if out:
            out.append('')
        out.append('[%s]' % group)
        for key, text, _ in rows:
            out.append('%s=%s' % (key, ini_value(text)))
    return ('\r\n'.join(out) + '\r\n').encode('utf-8')


def map_file(rows):
    members = {}
    for key, _, widgets in rows:
        for widget in widgets:
            if widget in members:
                raise TableError('widget %s has two keys' % widget)
            members[widget] = key
    return (json.dumps(members, ensure_ascii=False, indent=4) + '\n').encode('utf-8')


def same_keys(master, other, name):
    mg = [(g, [k for k, _, _ in rows]) for g, rows in master]
    og = [(g, [k for k, _, _ in rows]) for g, rows in other]
    if [g for g, _ in mg] != [g for g, _ in og]:
        raise TableError('%s: groups differ from %s' % (name, MASTER_TABLE))
    for (g, mk), (_, ok) in zip(mg, og):
        if g == 'Language':
            if ok != ['Name', 'EnglishName']:
                raise TableError('%s: [Language] must hold Name and EnglishName' % name)
        elif mk != ok:
            missing = sorted(set(mk) - set(ok))
            extra = sorted(set(ok) - set(mk))
            raise TableError('%s: keys of [%s] differ (missing %s, extra %s, or out of order)'
                             % (name, g, missing, extra))


def outputs():
    master = read_table(os.path.join(HERE, MASTER_TABLE), True)
    files = {os.path.join('locale', ENGLISH_INI): ini_file(master)}
    for group, rows in master:
        if any(widgets for _, _, widgets in rows):
            files[os.path.join('maps', group + '.json')] = map_file(rows)
    for name in sorted(os.listdir(HERE)):
        if re.match(r'^\d\d_.+\.txt$', name):
            table = read_table(os.path.join(HERE, name), False)
            same_keys(master, table, name)
            files[os.path.join('locale', name[:-4] + '.ini')] = ini_file(table)
    files['language.qrc'] = qrc_file(files)
    return files


def qrc_file(files):
    """The resource list: language files under ":/locale", window maps as ":/<Window>.json"."""
    out = ['<!-- Written by texts/generate.py from the text tables; do not edit. -->', '<RCC>',
           '    <qresource prefix="/locale">']
    for rel in sorted(files):
        if rel.startswith('locale' + os.sep):
            out.append('        <file alias="%s">%s</file>' % (os.path.basename(rel), rel.replace(os.sep, '/')))
    out += ['    </qresource>', '    <qresource prefix="/">']
    for rel in sorted(files):
        if rel.startswith('maps' + os.sep):
            out.append('        <file alias="%s">%s</file>' % (os.path.basename(rel), rel.replace(os.sep, '/')))
    out += ['    </qresource>', '</RCC>']
    return ('\n'.join(out) + '\n').encode('utf-8')


def main():
    check = '--check' in sys.argv[1:]
    try:
        files = outputs()
    except TableError as e:
        print('generate.py:', e, file=sys.stderr)
        return 1
    stale = []
    for rel, data in sorted(files.items()):
        path = os.path.join(RESOURCES, rel)
        try:
            with open(path, 'rb') as f:
                current = f.read()
        except OSError:
            current = None
        if current == data:
            continue
        stale.append(rel)
        if not check:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path + '.tmp', 'wb') as f:
                f.write(data)
            os.replace(path + '.tmp', path)
    for folder, suffix in (('locale', '.ini'), ('maps', '.json')):
        for name in sorted(os.listdir(os.path.join(RESOURCES, folder))):
            if name.endswith(suffix) and os.path.join(folder, name) not in files:
                stale.append(os.path.join(folder, name) + ' (no table makes it)')
    if check and stale:
        print('generate.py: out of date, run client/resources/texts/generate.py:', *stale, sep='\n  ',
              file=sys.stderr)
        return 1
    for rel in stale:
        if not check:
            print('wrote', rel)
    return 0


if __name__ == '__main__':
    sys.exit(main())
