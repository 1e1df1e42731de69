#include "lists/ExamEditor.h"

#include "catalogue/Catalogue.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "lists/QuestionListFile.h"
#include "sheets/Bogenzustand.h"

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

bool isPartCode(const QString &code)
{
    return code.size() >= 2 && QStringLiteral("TBV").contains(code.at(0)) &&
           QStringLiteral("AE").contains(code.at(1));
}

} // namespace

const QStringList &ExamEditor::partEntries()
{
    static const QStringList entries = {
        QStringLiteral("Technische Kenntnisse Klasse A").leftJustified(49) + QStringLiteral("TA"),
        QStringLiteral("Technische Kenntnisse Klasse E").leftJustified(49) + QStringLiteral("TE"),
        QStringLiteral("Betriebliche Kenntnisse").leftJustified(49) + QStringLiteral("BE"),
        QStringLiteral("Kenntnisse von Vorschriften").leftJustified(49) + QStringLiteral("VE")};
    return entries;
}

QString ExamEditor::partCodeOf(int partIndex)
{
    return partIndex >= 0 && partIndex < partEntries().size()
               ? partEntries().at(partIndex).mid(49, 2)
               : QString();
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
    if (partIndex < 0 || partIndex >= partEntries().size())
        return;
    // The drop-down shows the entry whatever follows.
    m_partIndex = partIndex;
    (void)loadPool(m_pending ? QString() : partCodeOf(partIndex));
    m_view.contentChanged();
}

bool ExamEditor::loadPool(const QString &chosenPartCode)
{
    m_view.setCountText(QString());
    const QString archive = m_uses.paths.catalogueArchive();
    if (!QFileInfo(archive).isFile()) {
        m_view.ShowWarning(QStringLiteral("Die Datei ") + archive +
                           QStringLiteral(" existiert nicht."));
        return false;
    }
    m_pool.clear();
    if (!chosenPartCode.isEmpty()) {
        m_poolPartCode = chosenPartCode;
        m_own.clear();
        m_countEntries.clear();
        m_countIndex = -1;
        m_comment.clear();
        m_minutes.clear();
    }
    int count = 0;
    const bool loaded =
        m_uses.catalogue.LoadPartCatalogue(m_poolPartCode.at(0), m_poolPartCode.at(1), count);
    m_pending = false;
    if (!loaded)
        return false;
    for (const QString &line : m_uses.catalogue.lines())
        if (line.startsWith(QLatin1String("::")))
            m_pool << line.mid(2, 5);
    sortEntries(m_pool);
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

    // The own list holds the file's lines until the headers are taken from it.
    const QString partLine = list.partCode + u'=' + list.count;
    m_own = QStringList{partLine, QStringLiteral("Zeit=") + list.minutes} + list.ids;
    const bool namesPart = isPartCode(list.partCode);
    if (namesPart) {
        m_poolPartCode = list.partCode.left(2);
        m_pending = true;
        (void)loadPool(QString());
        m_comment = list.comment;
    }
    if (m_pool.isEmpty() || m_pool.first().at(0) != partLine.at(0)) {
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
    if (namesPart) {
        const auto found = std::find_if(
            partEntries().cbegin(), partEntries().cend(),
            [&list](const QString &entry) { return entry.mid(49, 2) == list.partCode.left(2); });
        if (found != partEntries().cend())
            m_partIndex = static_cast<int>(found - partEntries().cbegin());
    }
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
    for (const QString &line : m_uses.logLines) {
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
    if (firstMarkedEntry.isEmpty())
        return;
    if (m_poolPartCode.size() == 2) {
        m_uses.bogen.Teil = m_poolPartCode.at(0);
        m_uses.bogen.Klasse = m_poolPartCode.at(1);
    }
    m_view.showQuestion(firstMarkedEntry.left(5));
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
