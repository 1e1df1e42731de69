#!/usr/bin/env python3
"""Writes the small catalogue archives the core tests read (run from this folder).

The archives are committed; this script documents what is inside them and rebuilds
them when a fixture has to change.
"""
import io
import zipfile


def entry(lines):
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def write_zip(path, entries):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries.items():
            z.writestr(name, data)


def question(qid, text, answers, picture=None):
    lines = ["::" + qid, "F:" + text]
    if picture:
        lines.append(picture)
    lines.append("R:" + answers[0])
    lines += ["W:" + a for a in answers[1:]]
    return lines


# catalogue/small.qst: a versioned TA entry with a lower-case picture line, a TE entry
# without version line, a sections entry and the versions entry.
ta = ["V:Test 1.0"]
ta += question("TA101", "Welche Einheit hat der Widerstand?", ["Ohm", "Volt", "Ampere", "Watt"])
ta += question("TA102", "Was zeigt das Bild?", ["Spule", "Kondensator", "Diode", "Widerstand"],
               picture="p:./pics/spule.gif")
ta += question("TA103", "Größe für Übertragungsmaß?", ["dB", "Hz", "s", "m"])
ta += ["Kommentarzeile zwischen Fragen"]
ta += question("TB101", "Frequenz?", ["Hz", "Ohm", "V", "A"])
te = question("TE101", "Erste Frage ohne Versionszeile", ["a", "b", "c", "d"])
te += question("TE102", "Zweite Frage", ["a", "b", "c", "d"])
small = {
    "TAfragen.txt": entry(ta),
    "TEfragen.txt": entry(te),
    "FragenVersion.txt": entry(["Testkatalog 1.0"]),
}
write_zip("catalogue/small.qst", small)

buf = io.BytesIO()
write_zip(buf, small)
raw = buf.getvalue()
with open("catalogue/truncated.qst", "wb") as f:
    f.write(raw[: len(raw) // 2])
with open("catalogue/notazip.qst", "wb") as f:
    f.write(b"Das ist kein ZIP-Archiv.\r\n")
with open("catalogue/empty.qst", "wb") as f:
    pass
# Stored (uncompressed) entry with one byte of its data flipped: only the checksum tells.
sbuf = io.BytesIO()
with zipfile.ZipFile(sbuf, "w", zipfile.ZIP_STORED) as z:
    z.writestr("TAfragen.txt", entry(ta))
data = bytearray(sbuf.getvalue())
pos = data.find(b"Welche")
data[pos] ^= 0x20
with open("catalogue/badcrc.qst", "wb") as f:
    f.write(bytes(data))

# sheets/catalogue.qst: 60 TA questions (45 of group TA, 15 of TB), pictures, an image
# answer and umlauts; 40 BE, 36 TE and 34 VE questions; sections entry for TA.
ta = ["V:Prüfkatalog 2.1"]
for n in range(1, 61):
    group = "TA" if n <= 45 else "TB"
    qid = "%s%03d" % (group, 100 + n if n <= 45 else 100 + n - 45)
    picture = "P:./pics/fragen/bild%d.svg" % n if n % 10 == 3 else None
    right = "Richtig %d" % n
    if n == 7:
        right = 'Das Symbol <img src="./pics/fragen/diode.svg" alt="">'
    ta += question(qid, "Frage %d über Größen und Maße?" % n,
                   [right, "Falsch %da" % n, "Falsch %db" % n, "Falsch %dc" % n], picture)
be = ["V:Betrieb 2.1"]
for n in range(1, 41):
    be += question("BA%03d" % (100 + n), "Betriebsfrage %d?" % n,
                   ["QRZ %d" % n, "QRM %d" % n, "QSB %d" % n, "QTH %d" % n])
te = ["V:Technik E 2.1"]
for n in range(1, 37):
    te += question("TE%03d" % (100 + n), "E-Frage %d?" % n, ["r%d" % n, "w%d" % n, "x%d" % n, "y%d" % n])
ve = ["V:Vorschriften 2.1"]
for n in range(1, 35):
    ve += question("VA%03d" % (100 + n), "Vorschrift %d?" % n, ["r%d" % n, "w%d" % n, "x%d" % n, "y%d" % n])
sections = ["# Abschnitte des Prüfkatalogs", "TA1         20", "TB1         10"]
write_zip("sheets/catalogue.qst", {
    "TAfragen.txt": entry(ta),
    "BEfragen.txt": entry(be),
    "TEfragen.txt": entry(te),
    "VEfragen.txt": entry(ve),
    "TAAbschnitte.txt": entry(sections),
    # A count that is no number: the sheet is abandoned.
    "BEAbschnitte.txt": entry(["BA10        x4"]),
})

# sheets/rules2024.qst: an archive that declares the 2024 examination rules (every part
# 25 questions in 45 minutes, class A's technical part in 60, 76 %), with 30 TN, 28 TE,
# 27 TA, 26 BE and 26 VE questions and a TN sections entry of 25.
with open("import/expected/Pruefungsregeln.txt", "rb") as f:
    rules = f.read()
parts = {"TN": ("NA", 30, "Klasse-N-Frage"), "TE": ("EA", 28, "Klasse-E-Frage"),
         "TA": ("AA", 27, "Klasse-A-Frage"), "BE": ("BA", 26, "Betriebsfrage"),
         "VE": ("VA", 26, "Vorschrift")}
archive = {"Pruefungsregeln.txt": rules,
           "FragenVersion.txt": entry(["Prüfkatalog 2024 (Testausgabe)"])}
for code, (group, count, text) in parts.items():
    lines = ["V:Prüfkatalog 2024"]
    for n in range(1, count + 1):
        lines += question("%s%03d" % (group, 100 + n), "%s %d über Größen?" % (text, n),
                          ["Richtig %d" % n, "Falsch %da" % n, "Falsch %db" % n, "Falsch %dc" % n])
    archive[code + "fragen.txt"] = entry(lines)
archive["TNAbschnitte.txt"] = entry(["# Abschnitte Technische Kenntnisse Klasse N",
                                     "NA1   NA115 12", "NA116 NA130 13"])
write_zip("sheets/rules2024.qst", archive)


# classes/readiness.log: a log after an import of the 2024 catalogue, for the class
# readiness: VE passed, BE failed then passed, TN passed, TE failed; an older TA of 51
# questions and an own examination of TN questions, which count for no part.
def log_entry(code, number, count, minutes, limit, right, ok, own=None):
    l1 = ("<td>%s/%d&nbsp;&nbsp;</td><td>[14.03.2026 09:%02d:00] &nbsp;%d von %d Fragen in "
          "%d min (%s) bearbeitet.</td>" % (code, number, number, count, count, minutes, limit))
    colour, word = ("#00a000", "ok") if ok else ("#d00000", "nein")
    l2 = ('<td valign="top"><b><font color="%s">%s</font></b></td><td>Richtig: %d (%d%%) '
          "&nbsp; Falsch: " % (colour, word, right, right * 100 // count))
    l2 += "".join("%sX%03d " % (code[0], k) for k in range(count - right))
    if own:
        l2 += "<br>[%s]" % own
    return [l1, l2 + "</td>"]


log = []
log += log_entry("TA", 1, 51, 80, "90", 40, True)
log += log_entry("VE", 1, 25, 30, "45", 19, True)
log += log_entry("BE", 1, 25, 40, "45", 18, False)
log += log_entry("BE", 2, 25, 35, "45", 20, True)
log += log_entry("TN", 1, 25, 44, "45", 22, True)
log += log_entry("TE", 1, 25, 45, "45", 17, False)
log += log_entry("TN", 2, 25, 20, "30", 5, False, own="Meine schweren Fragen")
with open("classes/readiness.log", "wb") as f:
    f.write(entry(log))
