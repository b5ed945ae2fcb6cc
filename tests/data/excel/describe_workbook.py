#!/usr/bin/python3
"""Prints what openpyxl reads from a workbook, one line per fact, so that
the C++ tests can compare an independent reader's view with their own:

  sheets <name>|<name>...         sheet order
  active <name>                   the active sheet
  cell <sheet>!<ref> <kind> <value>
  font <sheet>!<ref> b=<0|1> i=<0|1> strike=<0|1> u=<style> name=<name> size=<size> color=<rgb|none>
  fill <sheet>!<ref> <rgb|none>
  border <sheet>!<ref> <side> <style> <rgb|none>
  align <sheet>!<ref> <horizontal> <vertical>
  merged <sheet> <range>
"""
import sys
import datetime
import openpyxl


def rgb(color):
    if color is None or color.type != "rgb" or color.rgb in (None, "00000000"):
        return "none"
    return str(color.rgb)[-6:].upper()


def value_text(value):
    if isinstance(value, bool):
        return "bool", "1" if value else "0"
    if isinstance(value, datetime.datetime):
        return "date", value.strftime("%Y-%m-%d %H:%M:%S")
    if isinstance(value, (int, float)):
        return "number", repr(float(value))
    return "text", str(value)


def main(path):
    book = openpyxl.load_workbook(path)
    print("sheets " + "|".join(book.sheetnames))
    print("active " + book.active.title)
    for sheet in book.worksheets:
        for row in sheet.iter_rows():
            for cell in row:
                where = sheet.title + "!" + cell.coordinate
                if cell.value is not None:
                    kind, text = value_text(cell.value)
                    print("cell %s %s %s" % (where, kind, text))
                if not cell.has_style:
                    continue
                f = cell.font
                print("font %s b=%d i=%d strike=%d u=%s name=%s size=%s color=%s" % (
                    where, bool(f.b), bool(f.i), bool(f.strike), f.u or "none", f.name,
                    repr(float(f.sz)), rgb(f.color)))
                fill = cell.fill
                print("fill %s %s" % (where, rgb(fill.fgColor) if fill.fill_type == "solid" else "none"))
                for side in ("left", "right", "top", "bottom", "diagonal"):
                    line = getattr(cell.border, side)
                    if line is not None and line.style:
                        print("border %s %s %s %s" % (where, side, line.style, rgb(line.color)))
                a = cell.alignment
                print("align %s %s %s" % (where, a.horizontal or "general", a.vertical or "bottom"))
        for merged in sheet.merged_cells.ranges:
            print("merged %s %s" % (sheet.title, merged.coord))


if __name__ == "__main__":
    main(sys.argv[1])
