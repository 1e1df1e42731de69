#pragma once

#include "catalogue/ExamPart.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

/// A question of the sheet generated last as the learning store needs it.
struct SheetQuestion
{
    QString fingerprint; ///< QuestionFingerprint::of the catalogue's question and right answer
    /// Per answer position on the page (1..4): 'R', the number ('1'..'3') of the
    /// catalogue's wrong answer standing there, or '-' for an empty slot; the page
    /// shuffles the answers, so only this says which wrong answer was chosen.
    QString positions;
    /// What the sheet showed, for the evaluation to show it again: the question text (HTML,
    /// as on the sheet), its picture reference ("./pics/..."; empty when it has none), and per
    /// answer position the catalogue's answer line ("R:..." or "W:..."; empty for an empty
    /// slot).
    QString text;
    QString picture;
    QStringList answers;
};

/// State of the sheet generated last, shared by sheet generation, evaluation, the
/// examination timer and the page commands. Everything starts empty, zero or false.
struct Bogenzustand
{
    QChar Teil;   ///< part letter T, B or V
    QChar Klasse; ///< class letter A or E (N under rules that know it)
    QChar
        Bogenart; ///< k examination, a own examination, t training, l drill; null before the first
    QString PruefungsNummer;
    QString Abschnitt; ///< training section code, or part letter + "--" after an interruption
    int Fragenzahl = 0;
    int Vorrat = 0;
    QString Zeitlimit; ///< "90", "60", an own limit, "9999" (training), "-" after training
    int ZeitlimitMinuten = 0;
    int Minuten = 0;
    QString EigenerPruefungsname;
    bool NavigationErwartet = false;
    /// Count, time limit, pass mark, title and colours the sheet was made with, so the
    /// evaluation judges by the rules the sheet was drawn under.
    ExamPart part;
    /// The part of the sheet evaluated last: the evaluation page's links (wrong-questions
    /// list, worked solution) name it, whatever sheet or window came since.
    ExamPart evaluatedPart;
    /// The questions of the sheet generated last by ID; empty before the first.
    QHash<QString, SheetQuestion> askedQuestions;
    /// The question IDs of the drill sheet to make, in the order they are asked.
    QStringList drillOrder;
    /// The drill sheet's page text below its head (e.g. that nothing was due); may be empty.
    QString drillNote;
    /// The part's pass probability estimated when the examination sheet generated last was
    /// made (ExamPrediction), stored with its answers; none for any other sheet, and when
    /// there was nothing to estimate from.
    std::optional<double> predicted;
    /// The oral mark in percent (ExamRules::Part::oralMark) of the examination sheet
    /// generated last; 0 for any other sheet and where the rules declare no oral band.
    int oralMark = 0;

    bool isExamination() const { return Bogenart == u'k' || Bogenart == u'a'; }
};
