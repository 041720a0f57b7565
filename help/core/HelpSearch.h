#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The help window's own search, in French: the help pages (every page of the help folder,
// the knowledge base's page among them) whose text holds every word typed, each with the
// sentences where those words stand. Accents, case and the ligatures œ and æ do not count,
// and a word typed matches the beginning of a word of the text, so that results follow the
// typing: "regen" finds "Régénérer".
class HelpSearch
{
public:
    // A page as the search reads it: its title and its text, one entry per sentence.
    struct Page {
        QString path;
        QString title;
        QStringList sentences;
    };

    struct Found {
        QString path;
        QString title;
        QStringList sentences; // where the words stand, in the page's order, MaxSentences at most
        int hits = 0;          // how often the words stand in the page

        friend bool operator==(const Found &, const Found &) = default;
    };

    static constexpr int MaxSentences = 3;

    // The pages are read from `folder` at the first search, once.
    explicit HelpSearch(QString folder);

    // The pages holding every word of `typed`, those where the words stand most often first,
    // then by title; none when no word was typed.
    QList<Found> find(const QString &typed) const;

    // The results as a page of the help, in French: each page's title and sentences link
    // to it, and the words found stand in bold.
    static QString resultsPage(const QString &typed, const QList<Found> &found);

    // The words of what was typed, as they are compared: without accents, in lower case.
    static QStringList words(const QString &typed);
    // Where the words begin words of `text`: start and length of each, in `text`, in order.
    static QList<std::pair<qsizetype, qsizetype>> matches(const QString &text, const QStringList &words);
    // A page's title and sentences from its HTML: the head, scripts, styles and comments
    // left out, tags dropped, entities decoded; every paragraph, heading, list item and
    // table cell ends a sentence.
    static Page readHtml(const QString &html);

private:
    const QList<Page> &pages() const;

    QString m_folder;
    mutable QList<Page> m_pages;
    mutable bool m_read = false;
};
