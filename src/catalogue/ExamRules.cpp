#include "catalogue/ExamRules.h"

#include <algorithm>

QString ExamRules::entryName()
{
    return QStringLiteral("Pruefungsregeln.txt");
}

ExamRules ExamRules::official2024()
{
    ExamRules rules;
    const std::pair<const char *, const char *> parts[] = {{"TN", "Technische Kenntnisse Klasse N"},
                                                           {"TE", "Technische Kenntnisse Klasse E"},
                                                           {"TA", "Technische Kenntnisse Klasse A"},
                                                           {"BE", "Betriebliche Kenntnisse"},
                                                           {"VE", "Kenntnisse von Vorschriften"}};
    for (const auto &[code, title] : parts) {
        // Class A's technical part takes longer: its questions ask for more calculation.
        const int minutes = qstrcmp(code, "TA") == 0 ? 60 : 45;
        rules.parts.append({QLatin1String(code), QString::fromUtf8(title), 25, minutes, 76, 68});
    }
    rules.classes = {
        {u'N', {QStringLiteral("VE"), QStringLiteral("BE"), QStringLiteral("TN")}},
        {u'E',
         {QStringLiteral("VE"), QStringLiteral("BE"), QStringLiteral("TN"), QStringLiteral("TE")}},
        {u'A',
         {QStringLiteral("VE"), QStringLiteral("BE"), QStringLiteral("TN"), QStringLiteral("TE"),
          QStringLiteral("TA")}}};
    return rules;
}

const ExamRules::Part *ExamRules::part(const QString &code) const
{
    for (const Part &p : parts)
        if (p.code == code)
            return &p;
    return nullptr;
}

const ExamRules::ExamClass *ExamRules::examClass(QChar letter) const
{
    for (const ExamClass &c : classes)
        if (c.letter == letter)
            return &c;
    return nullptr;
}

QStringList ExamRules::pageOrder(QChar classLetter) const
{
    const ExamClass *declared = examClass(classLetter);
    if (!declared)
        return {};
    const QString own = QStringLiteral("T") + classLetter;
    QStringList codes;
    if (declared->parts.contains(own))
        codes << own;
    for (auto it = declared->parts.crbegin(); it != declared->parts.crend(); ++it)
        if (it->startsWith(u'T') && !codes.contains(*it))
            codes << *it;
    for (const QChar letter : {u'B', u'V'})
        for (const QString &code : declared->parts)
            if (code.startsWith(letter) && !codes.contains(code))
                codes << code;
    return codes;
}

int ExamRules::rightNeeded(int questions, int passMark)
{
    return (questions * passMark + 99) / 100;
}

bool ExamRules::oralMayBePossible(const QList<PartScore> &scores) const
{
    int missed = 0;
    for (const PartScore &score : scores) {
        const Part *rule = part(score.code);
        if (!rule || score.questions <= 0)
            return false;
        if (score.right * 100 >= rule->passMark * score.questions)
            continue;
        if (++missed > 1 || rule->oralMark <= 0 ||
            score.right * 100 < rule->oralMark * score.questions)
            return false;
    }
    return missed == 1;
}

QStringList ExamRules::lines() const
{
    const bool oral =
        std::any_of(parts.cbegin(), parts.cend(), [](const Part &p) { return p.oralMark > 0; });
    QStringList out{QStringLiteral("# Prüfungsregeln des Fragenkatalogs"),
                    oral ? QStringLiteral("# Teil=Code;Titel;Fragen;Minuten;Bestehensgrenze in "
                                          "Prozent;mündliche Nachprüfung ab Prozent")
                         : QStringLiteral("# Teil=Code;Titel;Fragen;Minuten;Bestehensgrenze in "
                                          "Prozent"),
                    QStringLiteral("# Klasse=Buchstabe;Codes der Prüfungsteile der Klasse")};
    // Concatenated, not .arg(): a title may hold "%1" itself.
    for (const Part &p : parts) {
        QString line = QStringLiteral("Teil=") + p.code + u';' + p.title + u';' +
                       QString::number(p.questions) + u';' + QString::number(p.minutes) + u';' +
                       QString::number(p.passMark);
        if (p.oralMark > 0)
            line += u';' + QString::number(p.oralMark);
        out << line;
    }
    for (const ExamClass &c : classes)
        out << QStringLiteral("Klasse=") + c.letter + u';' + c.parts.join(u',');
    return out;
}

bool ExamRules::parse(const QStringList &lines, ExamRules &out, QString *error)
{
    ExamRules rules;
    const auto fail = [error](qsizetype line, const QString &text) {
        if (error)
            *error = QStringLiteral("Zeile %1 der Prüfungsregeln: %2").arg(line + 1).arg(text);
        return false;
    };
    const auto number = [](const QString &text, int low, int high, int &value) {
        bool ok = false;
        value = text.trimmed().toInt(&ok);
        return ok && value >= low && value <= high;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(QLatin1String("Teil="))) {
            const QStringList f = line.mid(5).split(u';');
            if (f.size() < 5)
                return fail(i, QStringLiteral("ein Teil hat fünf Felder"));
            if (f.size() > 6)
                return fail(i, QStringLiteral("ein Teil hat fünf Felder und höchstens ein "
                                              "sechstes für die mündliche Nachprüfung"));
            Part p;
            p.code = f.at(0).trimmed();
            p.title = f.at(1).trimmed();
            if (p.code.size() != 2 || !QStringLiteral("TBV").contains(p.code.at(0)) ||
                !QStringLiteral("NEA").contains(p.code.at(1)))
                return fail(i,
                            QStringLiteral("\"%1\" ist kein Code eines Prüfungsteils").arg(p.code));
            if (rules.part(p.code))
                return fail(i, QStringLiteral("der Teil %1 steht zweimal da").arg(p.code));
            if (p.title.isEmpty())
                return fail(i, QStringLiteral("der Teil %1 hat keinen Titel").arg(p.code));
            if (!number(f.at(2), 1, 99, p.questions))
                return fail(i, QStringLiteral("die Fragenzahl muss zwischen 1 und 99 liegen"));
            if (!number(f.at(3), 1, 999, p.minutes))
                return fail(i, QStringLiteral("die Minuten müssen zwischen 1 und 999 liegen"));
            if (!number(f.at(4), 1, 100, p.passMark))
                return fail(i, QStringLiteral("die Bestehensgrenze muss zwischen 1 und 100 "
                                              "Prozent liegen"));
            if (f.size() == 6 && !f.at(5).trimmed().isEmpty() &&
                !number(f.at(5), 1, p.passMark - 1, p.oralMark))
                return fail(i, QStringLiteral("die mündliche Nachprüfung muss unter der "
                                              "Bestehensgrenze liegen"));
            rules.parts.append(p);
        } else if (line.startsWith(QLatin1String("Klasse="))) {
            const QStringList f = line.mid(7).split(u';');
            if (f.size() != 2 || f.at(0).trimmed().size() != 1 ||
                !QStringLiteral("NEA").contains(f.at(0).trimmed()))
                return fail(i, QStringLiteral("eine Klasse hat einen Buchstaben (N, E oder A) "
                                              "und ihre Teile"));
            ExamClass c{f.at(0).trimmed().at(0), {}};
            for (const QString &code : f.at(1).split(u',')) {
                if (!rules.part(code.trimmed()))
                    return fail(i, QStringLiteral("der Teil \"%1\" ist nicht beschrieben")
                                       .arg(code.trimmed()));
                c.parts << code.trimmed();
            }
            rules.classes.append(c);
        } else {
            return fail(i, QStringLiteral("unbekannte Zeile \"%1\"").arg(line));
        }
    }
    if (rules.parts.isEmpty())
        return fail(lines.size() - 1, QStringLiteral("es ist kein Prüfungsteil beschrieben"));
    out = std::move(rules);
    return true;
}
