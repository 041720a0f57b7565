#pragma once

#include <QList>
#include <QString>

#include <optional>

// Every row of the knowledge tables, with the columns the program uses, as read from a
// file. Rows keep the order in which they were read.
struct KnowledgeBaseRows {
    struct Category {
        qint32 number;
        std::optional<QString> name;
        bool operator==(const Category &) const = default;
    };
    struct Modality {
        qint32 number;
        QString text;
        qint32 category;
        bool operator==(const Modality &) const = default;
    };
    struct Syndrome {
        qint32 number;
        QString name;
        qint32 method;
        bool operator==(const Syndrome &) const = default;
    };
    struct Link {
        qint32 modality;
        qint32 syndrome;
        bool operator==(const Link &) const = default;
    };
    struct Weight {
        qint32 modality;
        std::optional<qint32> value;
        bool operator==(const Weight &) const = default;
    };
    // A retired sign and one of the live signs that now record it (table Remplacements,
    // which older bases and Access files lack).
    struct Replacement {
        qint32 modality;
        qint32 replacement;
        bool operator==(const Replacement &) const = default;
    };

    // A text that could not be read whole from the file it came from: characters that could
    // not be decoded (each now U+FFFD), or bytes cut short. Where it lies (the table and the
    // number of its row) and what came over.
    struct AlteredText {
        QString table;
        qint32 number;
        QString text;
        bool operator==(const AlteredText &) const = default;
    };

    QList<Category> categories;
    QList<Modality> modalities;
    QList<Syndrome> syndromes;
    QList<Link> links;
    QList<Weight> weights;
    QList<Replacement> replacements;
    bool hasReplacementTable = false; // older and imported bases may lack it

    qint64 rowCount() const
    {
        return categories.size() + modalities.size() + syndromes.size() + links.size() + weights.size() +
               replacements.size();
    }
};
