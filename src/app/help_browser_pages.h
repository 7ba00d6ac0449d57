// The help pages as the help browser reads them: every page in the help folder with its
// title, headings and anchors, the page as shown (each heading given an anchor to lead to
// it), the index generated from the headings of all pages, and the search for words across
// all pages.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace zelkon {

/// The generated page of every heading, in alphabetical order.
inline constexpr char HelpIndexPage[] = "index.html";

/// A heading of a help page: the page's title (level 2) or a section (level 3), with the
/// anchor that leads to it (empty for the title).
struct HelpHeading {
    QString text;
    QString page;
    QString anchor;
    int level = 2;
};

/// A page that holds every word searched for.  `score` counts the words found, a word in
/// the title counting more; `excerpt` is the text around the first word found.
struct HelpSearchHit {
    QString page;
    QString title;
    int score = 0;
    QString excerpt;
};

class THelpPages {
public:
    /// Reads every "*.html" page of the folder (the program's is ":/help").
    explicit THelpPages(const QString& folder = QStringLiteral(":/help"));

    /// The pages read, by file name in alphabetical order (the generated index is not one).
    QStringList Pages() const;
    /// A page read, or the generated index.
    bool HasPage(const QString& page) const;
    QString Title(const QString& page) const;
    /// The page as stored.
    QString Source(const QString& page) const;
    /// The page as shown: every heading without an anchor of its own gets one named after
    /// its text (`AnchorOfHeading`).  The index page is generated.
    QString Html(const QString& page) const;
    /// Every anchor a link may name on the page: those written into it and those of its
    /// headings.
    QStringList Anchors(const QString& page) const;
    /// The text of the page without its markup.
    QString PlainText(const QString& page) const;

    /// The headings of every page, in page order.
    const std::vector<HelpHeading>& Headings() const { return headings_; }
    /// The index page: every heading of every page, alphabetically, headings of the same
    /// text (the sections every test page has) grouped as one entry.
    QString IndexHtml() const;
    /// The pages that hold every word of `words` (each word matched at the start of a word,
    /// letter case ignored), the best first.
    std::vector<HelpSearchHit> Search(const QString& words) const;

    /// The anchor of a heading without one of its own: its letters and digits in lower case,
    /// every other run of characters one "_" ("Welch's t test" gives "welch_s_t_test").
    static QString AnchorOfHeading(const QString& text);
    /// The words of a search text, lower case.
    static QStringList SearchWords(const QString& text);

private:
    struct Page {
        QString source;
        QString title;
        QString html;
        QString plain;
        QStringList anchors;
    };
    void Read(const QString& name, const QString& source);

    std::map<QString, Page> pages_;
    std::vector<HelpHeading> headings_;
};

}  // namespace zelkon
