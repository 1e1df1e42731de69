#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

/// One question of the official catalogue as published (JSON, UTF-8 texts that may hold
/// LaTeX formulas between "$").
struct OfficialQuestion
{
    QString number;    ///< five characters: pool letter, chapter letter, three digits
    QString classCode; ///< "1" class N, "2" class E, "3" class A (technical questions)
    QString question;
    std::array<QString, 4> answers; ///< the first one is the right answer
    QString pictureQuestion;        ///< picture key, empty for none
    std::array<QString, 4> pictureAnswers;
};

/// A chapter: either sub-chapters or questions.
struct OfficialChapter
{
    QString title;
    QList<OfficialChapter> chapters;
    QList<OfficialQuestion> questions;

    /// Questions of the chapter and all its sub-chapters.
    int questionCount() const;
};

/// The whole publication: the three examination parts as top-level chapters and the
/// edition data.
struct OfficialCatalogue
{
    enum Part { Technical, Operating, Regulations };
    std::array<OfficialChapter, 3> parts;
    QString edition;  ///< e.g. "3. Auflage, März 2024"
    QString issuedOn; ///< e.g. "2024-03-20"
    QString licence;

    /// Reads the JSON publication. Returns false with a German message in *error (naming
    /// the question or chapter) when the bytes are no JSON, do not have the publication's
    /// structure, name a question twice, give a question a number not made of letters and
    /// digits or a picture key that is no plain file name (folders, "..", drive letters,
    /// control characters, characters outside Windows-1252), break the edition or
    /// publication date over lines, leave a part (or a class of the technical part) without
    /// questions or give a technical question no class "1", "2" or "3"; out is left as it
    /// was then.
    [[nodiscard]] static bool read(const QByteArray &json, OfficialCatalogue &out, QString *error);
};
