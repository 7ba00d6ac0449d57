# The corpus files written by hand the way other programs write them (run in
# tests/data/import: python3 make_corpus.py); each block prints the expected N and mean of
# its columns, computed here with math.fsum, for EXPECTED.txt.
import math, os
def mean(xs):
    xs = [x for x in xs if x is not None]
    return len(xs), repr(math.fsum(xs) / len(xs))
def show(name, **cols):
    print("##", name)
    for k, v in cols.items():
        n, m = mean(v); print(k, n, m)
def w(name, text, enc="ascii", newline="\r\n"):
    data = text.replace("\n", newline)
    with open(name, "wb") as f:
        f.write(data.encode(enc) if isinstance(data, str) else data)

# Excel (English) "CSV (Comma delimited)": numbers with thousands format quoted, CR LF.
w("excel_thousands.csv", 'Sample,Count,Area\nA,"1,234",12.5\nB,987,"2,001.75"\nC,"12,500",3.25\nD,45,"1,000,000.5"\n')
show("excel_thousands.csv", Count=[1234, 987, 12500, 45], Area=[12.5, 2001.75, 3.25, 1000000.5])

# Excel CSV with an empty middle column and an empty cell.
w("excel_empty_middle_column.csv", 'Dose,,Response\n1,,10.5\n2,,12\n4,,\n8,,19.25\n')
show("excel_empty_middle_column.csv", Dose=[1, 2, 4, 8], Response=[10.5, 12, 19.25])

# Excel CSV: a title row (with the trailing commas Excel writes), a blank row, the header.
w("excel_title_rows.csv", 'Experiment 3: tail length,,\n,,\nWeek,Control,Treated\n1,5.2,5.1\n2,5.9,6.4\n3,6.3,7.8\n')
show("excel_title_rows.csv", Week=[1, 2, 3], Control=[5.2, 5.9, 6.3], Treated=[5.1, 6.4, 7.8])

# Excel with a notes cell holding a comma and a line break, quoted.
w("excel_quoted_notes.csv", 'Plate,OD,Note\n1,0.231,"ok"\n2,0.245,"bubble, re-read\nnext day"\n3,0.250,\n4,0.262,"edge ""hot"" well"\n')
show("excel_quoted_notes.csv", Plate=[1, 2, 3, 4], OD=[0.231, 0.245, 0.250, 0.262])

# European Excel: semicolons, decimal commas, grouping dots (read with "," as decimal separator).
w("excel_european.csv", 'Probe;Menge;Konz\n1;1.234,5;0,5\n2;987,25;1,75\n3;12.000;2\n4;2.500,125;0,25\n', "cp1252")
show("excel_european.csv", Probe=[1, 2, 3, 4], Menge=[1234.5, 987.25, 12000, 2500.125], Konz=[0.5, 1.75, 2, 0.25])

# The same kind of file read with "." as decimal separator: decimal commas are no numbers.
w("excel_european_read_with_point.csv", 'Probe;Wert\n1;0,5\n2;1,75\n3;2\n')
show("excel_european_read_with_point.csv", Probe=[1, 2, 3], Wert=[2])

# Excel "Unicode Text": UTF-16 little-endian with a byte-order mark, tabs, CR LF.
w("excel_unicode_text.txt", '\ufeffConc µg/ml\tGröße\tRatio\n0.5\t12.25\t1.5\n1\t13.5\t2\n2\t15.75\t\n', "utf-16-le")
show("excel_unicode_text.txt", conc=[0.5, 1, 2], groesse=[12.25, 13.5, 15.75], ratio=[1.5, 2])

# UTF-16 big-endian with a byte-order mark.
w("utf16_big_endian.txt", '\ufeffTemp °C\tRate\n37\t1.25\n39.5\t1.75\n', "utf-16-be")
show("utf16_big_endian.txt", temp=[37, 39.5], rate=[1.25, 1.75])

# UTF-8 without a mark (as Python, R on Linux and most tools write).
w("utf8_titles.csv", 'Dose µg/ml,Größe,Naïve\n1,2,3\n4,5,6.5\n', "utf-8", "\n")
show("utf8_titles.csv", a=[1, 4], b=[2, 5], c=[3, 6.5])

# Excel "CSV UTF-8": a byte-order mark; a title with a character Latin-1 lacks.
w("utf8_bom_excel.csv", '\ufeffGewicht (g),Länge ≈ cm,Δ Wert\n1.5,10,0.25\n2.5,11,0.5\n', "utf-8")
show("utf8_bom_excel.csv", a=[1.5, 2.5], b=[10, 11], c=[0.25, 0.5])

# Windows-1252 ("ANSI"): µ, curly quotes, an en dash and an ellipsis in the titles.
w("windows1252_titles.csv", 'Trial \u201cA\u201d \u2013 day 1\u2026\nDose \u00b5g,Response\n1,3.5\n2,4.25\n', "cp1252")
show("windows1252_titles.csv", dose=[1, 2], response=[3.5, 4.25])

# Plate reader TSV: header block, a notes column, "<0.05", "OVER" and "n/a" readings.
w("instrument_notes.txt", 'Reader XR-2 endpoint read\nDate\t2024-03-14\nWell\tOD450\tOD620\tNote\nA1\t0.512\t0.101\t\nA2\t<0.05\t0.098\tlow signal\nA3\t1.204\t0.120\t\nA4\tOVER\t0.131\tsaturated\nA5\t0.877\tn/a\t\n')
show("instrument_notes.txt", od450=[0.512, 1.204, 0.877], od620=[0.101, 0.098, 0.120, 0.131])

# NA spellings of every tool, times and percentages: all left empty, never read as numbers.
w("na_spellings.csv", 'Value,Other\n1.5,10\nNA,11\nNaN,12\n#N/A,13\nn/a,14\ninf,15\n.,16\n-,17\n12:30,18\n5%,19\n2.5,\n', "ascii", "\n")
show("na_spellings.csv", Value=[1.5, 2.5], Other=list(range(10, 20)))

# A tab-separated file with thousands grouping: the comma does not split.
w("tsv_thousands.txt", 'Cells\tViability\n1,234\t5.5\n12,001\t6.25\n987\t7\n')
show("tsv_thousands.txt", cells=[1234, 12001, 987], viability=[5.5, 6.25, 7])

# Ragged blank-separated numbers (instrument output without alignment).
w("ragged_whitespace.txt", 'time temp signal\n0 37.0 0.12\n10 37.25 0.5\n100  37.5 1.125\n1000 38 2\n', "ascii", "\n")
show("ragged_whitespace.txt", time=[0, 10, 100, 1000], temp=[37.0, 37.25, 37.5, 38], signal=[0.12, 0.5, 1.125, 2])

# An aligned table whose empty cells are blanks (a fixed-width printout).
w("aligned_with_gaps.prn", '  Dose   Resp   Error\n   1.0   10.5    0.25\n   2.0           0.50\n   4.0   19.0        \n   8.0   25.5    1.00\n', "ascii", "\n")
show("aligned_with_gaps.prn", dose=[1, 2, 4, 8], resp=[10.5, 19, 25.5], err=[0.25, 0.5, 1])

# A blank-separated line far longer than 255 characters.
vals = [round(1000 + i * 1.5, 1) for i in range(20)]
line = "".join(f"{v:>16.1f}" for v in vals)
w("wide_blank_line.txt", line + "\n" + line + "\n", "ascii", "\n")
print("## wide_blank_line.txt"); [print(f"c{i}", 2, repr(v)) for i, v in enumerate(vals)]

# Python's csv module with QUOTE_ALL: every field quoted, numbers too.
w("python_quote_all.csv", '"a","b"\r\n"1.5","2"\r\n"3.5","4"\r\n', "ascii", "\n")
show("python_quote_all.csv", a=[1.5, 3.5], b=[2, 4])

# Old Mac line ends (CR only).
w("mac_cr_line_ends.csv", 'x,y\n1,2\n3,4.5\n', "ascii", "\r")
show("mac_cr_line_ends.csv", x=[1, 3], y=[2, 4.5])

# A DOS file ending in the end-of-file character 26.
w("dos_end_of_file.txt", 'x\n1.25\n2.75\n\x1a', "ascii")
show("dos_end_of_file.txt", x=[1.25, 2.75])

# Exclusion marks written by this program's old exports and by hand.
w("excluded_marks.txt", 'Control\tTreated\n12.5\t14.0\n13.1*\t15.5\n11.8\t*16.2\n')
show("excluded_marks.txt", control=[12.5, 11.8], treated=[14.0, 15.5])

# Values at and past the missing-value marker.
w("too_large.csv", 'a,b\n1,1.7E38\n2,-2e38\n3,5\n', "ascii", "\n")
show("too_large.csv", a=[1, 2, 3], b=[5])

# Only a line of titles.
w("only_titles.txt", 'Weight\tHeight\tAge\n')
# A header line with numbers above the data (a title that looks partly numeric).
w("numeric_header_block.csv", 'Run,7\nTemperature,37.5\nDose,Response,Weight\n1,10,20\n2,12,21\n', "ascii", "\n")
show("numeric_header_block.csv", Dose=[1, 2], Response=[10, 12], Weight=[20, 21])

# This program's own export (comma-delimited): a data title that looks like a date, column
# titles that are numbers, both in quotes.
w("zelkon_export_numeric_titles.csv", '"2024-03-01"\n"1","2"\n1.50, 3\n2.25, \n')
show("zelkon_export_numeric_titles.csv", one=[1.5, 2.25], two=[3])
# Its tab-delimited export of Latin-1 titles: UTF-8 with a byte-order mark; no column
# titles, so a blank line below the data title.
w("zelkon_export_latin1.txt", '\ufeff"Dose µg/kg, Größe"\n\n1.5\t 10\n2\t 12.5\n', "utf-8")
show("zelkon_export_latin1.txt", a=[1.5, 2], b=[10, 12.5])

# A report from an instrument that pads its head with thousands of empty lines before the
# table: the separator is chosen from the lines that hold something.
w("blank_lines_before_table.csv", '\n' * 2500 + 'Well,OD\nA1,0.125\nA2,0.250\nA3,0.500\n', "ascii", "\n")
show("blank_lines_before_table.csv", OD=[0.125, 0.250, 0.500])
