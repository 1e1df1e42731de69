#include "lists/ExamEditor.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "lists/QuestionListFile.h"
#include "statistics/ExamLog.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

const QString kListTitleOpen = QStringLiteral(" Öffnen der Fragenliste");
const QString kListTitleSave = QStringLiteral(" Speichern der Fragenliste");

// The lists keep themselves sorted as a list box does: without regard to case.
void sortEntries(QStringList &entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}

QString partEntry(const QString &partCode)
{
    return PartDisplayName(partCode).leftJustified(49) + partCode;
}

} // namespace

ExamEditor::ExamEditor(Uses uses, View &view) : m_uses(uses), m_view(view)
{
    (void)refreshPartEntries(); // nothing is shown yet
}

bool ExamEditor::refreshPartEntries()
{
    QStringList entries{partEntry(QStringLiteral("TA")), partEntry(QStringLiteral("TE"))};
    if (m_uses.catalogue.rules().of(archivePath()).part(QStringLiteral("TN")))
        entries << partEntry(QStringLiteral("TN"));
    entries << partEntry(QStringLiteral("BE")) << partEntry(QStringLiteral("VE"));
    if (entries == m_partEntries)
        return false;
    const QString shown = partCodeOf(m_partIndex);
    m_partEntries = entries;
    m_partIndex = partIndexOf(shown);
    return true;
}

QString ExamEditor::partCodeOf(int partIndex) const
{
    return partIndex >= 0 && partIndex < m_partEntries.size()
               ? m_partEntries.at(partIndex).mid(49, 2)
               : QString();
}

int ExamEditor::partIndexOf(const QString &partCode) const
{
    if (partCode.size() != 2)
        return -1;
    for (qsizetype i = 0; i < m_partEntries.size(); ++i)
        if (m_partEntries.at(i).mid(49, 2) == partCode)
            return static_cast<int>(i);
    return -1;
}

QString ExamEditor::archivePath() const
{
    const QString archive = m_uses.paths.catalogueArchive();
    return archive.isEmpty() ? m_uses.paths.archiveInDataDir() : archive;
}

QString ExamEditor::minutesField(const QString &text)
{
    QString kept;
    for (const QChar c : text) {
        if (kept.size() == 2 || !c.isDigit() || c.unicode() > 0x7f)
            break;
        kept += c;
    }
    return kept;
}

int ExamEditor::ZuBuchstabeBlaettern(const QStringList &entries, QChar letter)
{
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries.at(i).size() > 1 && entries.at(i).at(1) == letter)
            return static_cast<int>(i);
    return -1;
}

// --- Part and pool ------------------------------------------------------------------

void ExamEditor::PruefungsAuswahlComboBoxChange(int partIndex)
{
    if (partIndex < 0 || partIndex >= m_partEntries.size())
        return;
    // Choosing the shown part again must not throw the composed list away.
    if (partIndex == m_partIndex && partCodeOf(partIndex) == m_poolPartCode)
        return;
    // The drop-down shows the entry whatever follows.
    m_partIndex = partIndex;
    (void)loadPool(partCodeOf(partIndex), false);
    m_view.contentChanged();
}

bool ExamEditor::loadPool(const QString &partCode, bool keepList)
{
    m_view.setCountText(QString());
    const QString archive = archivePath();
    if (!QFileInfo(archive).isFile()) {
        m_view.ShowWarning(QStringLiteral("Die Datei ") + archive +
                           QStringLiteral(" existiert nicht."));
        return false;
    }
    QStringList lines;
    if (!m_uses.catalogue.extract(questionEntry(partCode.at(0), partCode.at(1)), lines))
        return false;
    m_poolPartCode = partCode;
    m_poolLines = lines;
    m_pool.clear();
    for (const QString &line : std::as_const(m_poolLines))
        if (line.startsWith(QLatin1String("::")))
            m_pool << line.mid(2, 5);
    sortEntries(m_pool);
    if (!keepList) {
        m_own.clear();
        m_countEntries.clear();
        m_countIndex = -1;
        m_comment.clear();
        m_minutes.clear();
    }
    m_view.setStatusText(QStringLiteral(" %1 Fragen im Fragenpool").arg(m_pool.size()));
    m_view.setCountText(QString::number(m_pool.size()));
    m_view.setFocus(View::Control::Pool);
    return true;
}

// --- Files --------------------------------------------------------------------------

void ExamEditor::OeffnenSpeedButtonClick()
{
    m_view.setStatusText(QString());
    const QString path = m_view.openFileName(kListTitleOpen, m_uses.paths.questionListsDir());
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (!file.isFile()) {
        m_view.Msg(QStringLiteral(" ") + path + QStringLiteral(" nicht gefunden."));
        return;
    }
    m_uses.paths.setQuestionListsDir(file.absolutePath());

    QuestionList list;
    switch (QuestionListFile::read(path, list)) {
    case QuestionListFile::ReadResult::Missing:
        m_view.ShowWarning(QStringLiteral("Die Datei ") + path +
                           QStringLiteral(" kann nicht gelesen werden."));
        return;
    case QuestionListFile::ReadResult::NotAList:
        m_view.Msg(QStringLiteral(" ") + path +
                   QStringLiteral(" ist keine Fragenliste: Prüfungsteil oder Zeit fehlt."));
        return;
    case QuestionListFile::ReadResult::Read:
        break;
    }

    // Official IDs ("AA101", "NA101") do not begin with the part letter: a list fits
    // when its part line names the pool's part.
    (void)refreshPartEntries(); // an import may have declared class N since
    const QString partCode = list.partCode.left(2);
    const int listPart = partIndexOf(partCode);
    if (listPart >= 0) {
        if (!loadPool(partCode, true)) {
            m_view.contentChanged();
            return;
        }
        // Pool and drop-down name the same part, whether or not the list fits.
        m_partIndex = listPart;
        m_comment = list.comment;
    }
    if (m_pool.isEmpty() || partCode != m_poolPartCode) {
        m_view.Msg(QStringLiteral(" Die Fragenliste passt nicht zum Prüfungsteil."));
        m_own.clear();
        AnzahlAuswahlFuellen();
        m_view.contentChanged();
        return;
    }
    const int count = list.count.toInt();
    m_minutes = minutesField(list.minutes);
    m_own = list.ids;
    AnzahlAuswahlFuellen();
    if (count - 2 >= 0 && count - 2 < m_countEntries.size())
        m_countIndex = count - 2;
    ZeitMaskEditChange(m_minutes);
    sortOwnList();
    m_view.contentChanged();
}

void ExamEditor::SpeichernSpeedButtonClick()
{
    m_view.setStatusText(QString());
    if (m_own.size() < 2) {
        m_view.Msg(QStringLiteral(" Weniger als 2 Fragen in der eigenen Fragenliste."));
        return;
    }
    if (m_countIndex < 0) {
        m_view.Msg(QStringLiteral(" Bitte die Anzahl der Prüfungsfragen festlegen."));
        m_view.setFocus(View::Control::Count);
        return;
    }
    const QString partCode = partCodeOf(m_partIndex);
    if (partCode.isEmpty() || m_minutes.trimmed().toInt() == 0) {
        if (!partCode.isEmpty()) {
            m_view.Msg(QStringLiteral(" Bitte die Prüfungszeit [min] festlegen."));
            m_view.setFocus(View::Control::Minutes);
        } else {
            m_view.Msg(QStringLiteral(" Bitte den Prüfungsteil auswählen."));
            m_view.setFocus(View::Control::PartChoice);
        }
        return;
    }
    QString path = m_view.saveFileName(kListTitleSave, m_uses.paths.questionListsDir());
    if (path.isEmpty())
        return;
    QFileInfo file(path);
    m_uses.paths.setQuestionListsDir(file.absolutePath());
    // The name, not the folders, decides whether the extension is missing.
    if (!file.fileName().contains(u'.'))
        path += QStringLiteral(".qlt");
    if (QFileInfo::exists(path) &&
        !m_view.confirm(path + QStringLiteral(" existiert schon. Überschreiben?")))
        return;

    QuestionList list;
    list.comment = m_comment;
    list.partCode = partCode;
    list.count = m_countEntries.at(m_countIndex);
    // As the field shows it: a single digit is followed by a blank.
    list.minutes = m_minutes.leftJustified(2);
    list.ids = m_own;
    if (!m_uses.writer.saveLines(path, QuestionListFile::lines(list)))
        return;
    m_view.setStatusText(QStringLiteral(" ") + path + QStringLiteral(" gespeichert."));
}

// --- The own list -------------------------------------------------------------------

void ExamEditor::RechtsSpeedButtonClick(const QStringList &markedPoolEntries)
{
    m_own += markedPoolEntries;
    sortOwnList();
    DoppelteEntfernen();
    m_view.contentChanged();
}

void ExamEditor::LinksSpeedButtonClick(const QList<int> &markedOwnRows)
{
    QList<int> rows = markedOwnRows;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows)
        if (row >= 0 && row < m_own.size())
            m_own.removeAt(row);
    AnzahlAuswahlFuellen();
    m_view.contentChanged();
}

void ExamEditor::LoeschenSpeedButtonClick()
{
    m_own.clear();
    m_view.setCountText(QStringLiteral("0"));
    m_view.contentChanged();
}

void ExamEditor::LogSpeedButtonClick()
{
    if (m_partIndex < 0) {
        m_view.Msg(QStringLiteral(" Bitte den Prüfungsteil auswählen."));
        m_view.setFocus(View::Control::PartChoice);
        return;
    }
    m_view.setBusy(true);
    m_own.clear();
    const QSet<QString> inPool(m_pool.cbegin(), m_pool.cend());
    const QLatin1String marker("Falsch: ");
    for (const QString &line : m_uses.examLog.lines()) {
        const qsizetype at = line.indexOf(marker);
        if (at < 0)
            continue;
        QStringView rest = QStringView(line).mid(at + marker.size());
        if (m_pool.isEmpty() || rest.isEmpty() || rest.front() != m_pool.first().front())
            continue;
        while (!rest.isEmpty()) {
            const QString id = rest.left(5).toString();
            if (inPool.contains(id))
                m_own << id;
            rest = rest.size() > 6 ? rest.mid(6) : QStringView();
        }
    }
    sortOwnList();
    DoppelteEntfernen();
    m_view.setBusy(false);
    m_view.contentChanged();
}

void ExamEditor::FragentextAnzeigen(const QString &firstMarkedEntry)
{
    if (firstMarkedEntry.isEmpty() || m_poolPartCode.size() != 2)
        return;
    // The window gets the pool's part and lines, not the sheet's: the sheet state still
    // belongs to the main window's sheet and its evaluation.
    const ExamRules &rules = m_uses.catalogue.rules().of(archivePath());
    const ExamPart part = examPart(m_poolPartCode.at(1), m_poolPartCode.at(0), u'k', &rules);
    m_view.showQuestion(firstMarkedEntry.left(5), m_poolLines, part);
}

void ExamEditor::FragenAuswahlComboBoxChange(int countIndex)
{
    if (countIndex < 0 || countIndex >= m_countEntries.size())
        return;
    m_countIndex = countIndex;
    m_view.setCountText(QString::number(m_own.size()) + u'/' + m_countEntries.at(countIndex));
    m_view.setFocus(View::Control::Minutes);
}

void ExamEditor::ZeitMaskEditChange(const QString &minutes)
{
    m_minutes = minutesField(minutes);
    if (!m_own.isEmpty() && m_countIndex >= 0)
        m_view.setCountText(QString::number(m_own.size()) + u'/' + m_countEntries.at(m_countIndex) +
                            u'/' + m_minutes.leftJustified(2));
}

void ExamEditor::setComment(const QString &comment)
{
    m_comment = comment.left(250);
}

void ExamEditor::AnzahlAuswahlFuellen()
{
    m_countEntries.clear();
    m_countIndex = -1;
    const qsizetype last = qMin<qsizetype>(m_own.size(), 50);
    for (qsizetype n = 2; n <= last; ++n)
        m_countEntries << QString::number(n);
    m_view.setCountText(QString::number(m_own.size()));
}

void ExamEditor::DoppelteEntfernen()
{
    for (qsizetype i = m_own.size() - 2; i >= 0; --i)
        if (m_own.at(i) == m_own.at(i + 1))
            m_own.removeAt(i + 1);
    AnzahlAuswahlFuellen();
}

void ExamEditor::sortOwnList()
{
    sortEntries(m_own);
}
