#!/usr/bin/python3
"""Writes files/sub/data.xlsx with openpyxl: sheet "Data" with ten used rows
(A: a name, B: a number, C: a text) and an empty second sheet "Other"."""
import openpyxl

book = openpyxl.Workbook()
data = book.active
data.title = "Data"
for row in range(1, 11):
    data.cell(row=row, column=1, value="name%d" % row)
    data.cell(row=row, column=2, value=row * 10)
    data.cell(row=row, column=3, value="c%d" % row)
book.create_sheet("Other")
book.save("files/sub/data.xlsx")
