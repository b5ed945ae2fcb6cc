#!/usr/bin/python3
"""Writes the workbook fixtures of the spreadsheet tests with openpyxl, an
independent writer; the legacy .xls fixture is converted from an openpyxl
workbook by LibreOffice when it is installed.
Run from this folder: /usr/bin/python3 make_fixtures.py"""
import datetime
import os
import shutil
import subprocess
import tempfile
import openpyxl
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side


def styled():
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Data"
    sheet["A1"] = "Название"
    sheet["B1"] = 42
    sheet["C1"] = 2.5
    sheet["D1"] = True
    sheet["E1"] = datetime.datetime(2024, 3, 15)
    sheet["F1"] = datetime.datetime(2024, 3, 15, 12, 30)
    sheet["A2"] = "bold red"
    sheet["A2"].font = Font(name="Arial", size=14, bold=True, italic=True, strike=True,
                            underline="double", color="FFFF0000")
    sheet["B2"].fill = PatternFill(fill_type="solid", fgColor="FFFFFF00")
    sheet["C2"].border = Border(left=Side(style="thin", color="FF0000FF"),
                                right=Side(style="mediumDashed"),
                                top=Side(style="double"),
                                bottom=Side(style="thick", color="FF008000"))
    sheet["D2"].alignment = Alignment(horizontal="center", vertical="top")
    sheet["E2"].alignment = Alignment(horizontal="right", vertical="center")
    sheet["A4"] = "merged"
    sheet.merge_cells("A4:C5")
    second = book.create_sheet("Second")
    second["B3"] = "inline"
    second["C10"] = -1.25
    book.active = 1
    book.save("styled.xlsx")


def legacy():
    soffice = shutil.which("soffice")
    if soffice is None:
        print("LibreOffice is not installed: legacy.xls not rebuilt")
        return
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Лист"
    sheet["A1"] = "Текст"
    sheet["B1"] = 7
    sheet["C1"] = 0.25
    sheet["A2"] = datetime.datetime(2024, 3, 15)
    sheet["B2"] = datetime.datetime(2024, 3, 15, 18, 0)
    other = book.create_sheet("Other")
    other["C3"] = "third"
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "legacy.xlsx")
        book.save(source)
        subprocess.run([soffice, "-env:UserInstallation=file://" + work + "/profile", "--headless",
                        "--convert-to", "xls", "--outdir", work, source], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.copy(os.path.join(work, "legacy.xls"), "legacy.xls")


if __name__ == "__main__":
    styled()
    legacy()
