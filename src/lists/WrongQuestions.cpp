#include "lists/WrongQuestions.h"

#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"
#include "lists/QuestionListFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

bool WrongQuestions::FalscheFrageHinzufuegen(QChar partLetter, QChar classLetter, const QString &id)
{
    const QString partCode = QString(partLetter) + classLetter;
    const QString path = m_paths.wrongQuestionsList(partCode);
    QStringList lines;
    if (QFileInfo::exists(path)) {
        // Rewriting a list that could not be read would lose its questions.
        if (!TextFile::readLines(path, lines)) {
            m_ui.ShowWarning(
                QStringLiteral("Die Datei %1 kann nicht gelesen werden; die Frage %2 wurde "
                               "nicht hinzugefügt.")
                    .arg(path, id));
            return false;
        }
    } else {
        lines = QuestionListFile::wrongQuestionsHeader(partCode);
        // The lists folder may be one the user has removed since choosing it.
        QDir().mkpath(QFileInfo(path).absolutePath());
    }
    const bool present = std::any_of(lines.cbegin(), lines.cend(), [&id](const QString &line) {
        return line.compare(id, Qt::CaseInsensitive) == 0;
    });
    if (!present)
        lines << id;
    return m_writer.saveLines(path, lines);
}
