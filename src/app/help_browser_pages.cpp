#include "app/help_browser_pages.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <algorithm>
#include <set>

namespace zelkon {

namespace {

const QRegularExpression& HeadingPattern() {
    static const QRegularExpression re(
        QStringLiteral("<h([23])(\\s[^>]*)?>(.*?)</h\\1\\s*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

const QRegularExpression& AnchorPattern() {
    static const QRegularExpression re(QStringLiteral("<a\\s[^>]*\\bname\\s*=\\s*\"([^\"]*)\""),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression& IdPattern() {
    static const QRegularExpression re(QStringLiteral("<[a-z0-9]+\\s[^>]*\\bid\\s*=\\s*\"([^\"]*)\""),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

/// An empty named anchor just before a heading: `<a name="x"></a><h3>`.
const QRegularExpression& AnchorBeforePattern() {
    static const QRegularExpression re(
        QStringLiteral("<a\\s[^>]*\\bname\\s*=\\s*\"([^\"]*)\"[^>]*>\\s*</a>\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString FragmentText(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

bool IsWordCharacter(QChar c) { return c.isLetterOrNumber(); }

/// How often `word` starts a word of `text` (both in lower case), and where first.
int CountWordStarts(const QString& text, const QString& word, qsizetype& first) {
    int count = 0;
    first = -1;
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
        if (at > 0 && IsWordCharacter(text.at(at - 1))) continue;
        if (first < 0) first = at;
        ++count;
    }
    return count;
}

QString Excerpt(const QString& text, qsizetype at) {
    qsizetype from = std::max<qsizetype>(0, at - 40);
    qsizetype to = std::min<qsizetype>(text.size(), at + 90);
    while (from > 0 && !text.at(from - 1).isSpace()) --from;
    while (to < text.size() && !text.at(to).isSpace()) ++to;
    QString excerpt = text.mid(from, to - from).simplified();
    if (from > 0) excerpt.prepend(QStringLiteral("... "));
    if (to < text.size()) excerpt.append(QStringLiteral(" ..."));
    return excerpt;
}

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

THelpPages::THelpPages(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        if (name == QLatin1String(HelpIndexPage)) continue;
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        Read(name, QString::fromUtf8(file.readAll()));
    }
}

void THelpPages::Read(const QString& name, const QString& source) {
    Page page;
    page.source = source;
    static const QRegularExpression titlePattern(
        QStringLiteral("<title>(.*?)</title>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch title = titlePattern.match(source);
    page.title = title.hasMatch() ? FragmentText(title.captured(1)) : name;

    std::set<QString> taken;
    for (const QRegularExpression* re : {&AnchorPattern(), &IdPattern()}) {
        for (auto it = re->globalMatch(source); it.hasNext();) {
            const QString anchor = it.next().captured(1);
            if (taken.insert(anchor).second) page.anchors << anchor;
        }
    }

    // The page as shown: headings without an anchor get one.
    QString html;
    qsizetype copied = 0;
    for (auto it = HeadingPattern().globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        HelpHeading heading;
        heading.level = m.captured(1).toInt();
        heading.text = FragmentText(m.captured(3));
        heading.page = name;
        const QRegularExpressionMatch inside = AnchorPattern().match(m.captured(3));
        const QRegularExpressionMatch before =
            AnchorBeforePattern().match(source.left(m.capturedStart(0)).right(200));
        if (inside.hasMatch()) {
            heading.anchor = inside.captured(1);
        } else if (before.hasMatch()) {
            heading.anchor = before.captured(1);
        } else if (heading.level > 2) {
            QString anchor = AnchorOfHeading(heading.text);
            for (int n = 2; taken.count(anchor) != 0; ++n) {
                anchor = AnchorOfHeading(heading.text) + QLatin1Char('_') + QString::number(n);
            }
            taken.insert(anchor);
            page.anchors << anchor;
            heading.anchor = anchor;
            html += source.mid(copied, m.capturedStart(3) - copied);
            html += QStringLiteral("<a name=\"%1\">%2</a>").arg(anchor, m.captured(3));
            copied = m.capturedEnd(3);
        }
        if (heading.level == 2) heading.anchor.clear();
        if (!heading.text.isEmpty()) headings_.push_back(heading);
    }
    html += source.mid(copied);
    page.html = html;

    QTextDocument document;
    document.setHtml(source);
    page.plain = document.toPlainText();
    pages_.emplace(name, std::move(page));
}

QStringList THelpPages::Pages() const {
    QStringList names;
    for (const auto& entry : pages_) names << entry.first;
    return names;
}

bool THelpPages::HasPage(const QString& page) const {
    return page == QLatin1String(HelpIndexPage) || pages_.count(page) != 0;
}

QString THelpPages::Title(const QString& page) const {
    if (page == QLatin1String(HelpIndexPage)) return QStringLiteral("Index");
    const auto it = pages_.find(page);
    return it != pages_.end() ? it->second.title : QString();
}

QString THelpPages::Source(const QString& page) const {
    const auto it = pages_.find(page);
    return it != pages_.end() ? it->second.source : QString();
}

QString THelpPages::Html(const QString& page) const {
    if (page == QLatin1String(HelpIndexPage)) return IndexHtml();
    const auto it = pages_.find(page);
    return it != pages_.end() ? it->second.html : QString();
}

QStringList THelpPages::Anchors(const QString& page) const {
    if (page == QLatin1String(HelpIndexPage)) {
        QStringList letters;
        for (QChar c = QLatin1Char('a'); c <= QLatin1Char('z'); c = QChar(c.unicode() + 1)) {
            letters << QStringLiteral("index_") + c;
        }
        return letters;
    }
    const auto it = pages_.find(page);
    return it != pages_.end() ? it->second.anchors : QStringList();
}

QString THelpPages::PlainText(const QString& page) const {
    const auto it = pages_.find(page);
    return it != pages_.end() ? it->second.plain : QString();
}

QString THelpPages::AnchorOfHeading(const QString& text) {
    QString anchor;
    bool gap = false;
    for (const QChar c : text.toLower()) {
        if (c.isLetterOrNumber() && c.unicode() < 128) {
            if (gap && !anchor.isEmpty()) anchor += QLatin1Char('_');
            anchor += c;
            gap = false;
        } else {
            gap = true;
        }
    }
    return anchor;
}

QStringList THelpPages::SearchWords(const QString& text) {
    QStringList words;
    QString word;
    for (const QChar c : text.toLower() + QLatin1Char(' ')) {
        if (IsWordCharacter(c)) {
            word += c;
        } else if (!word.isEmpty()) {
            if (!words.contains(word)) words << word;
            word.clear();
        }
    }
    return words;
}

std::vector<HelpSearchHit> THelpPages::Search(const QString& text) const {
    const QStringList words = SearchWords(text);
    std::vector<HelpSearchHit> hits;
    if (words.isEmpty()) return hits;
    for (const auto& [name, page] : pages_) {
        const QString body = page.plain.toLower();
        const QString title = page.title.toLower();
        HelpSearchHit hit{name, page.title, 0, {}};
        qsizetype excerptAt = -1;
        bool all = true;
        for (const QString& word : words) {
            qsizetype first = -1;
            const int count = CountWordStarts(body, word, first);
            if (count == 0) {
                all = false;
                break;
            }
            qsizetype inTitle = -1;
            hit.score += count + 10 * CountWordStarts(title, word, inTitle);
            if (excerptAt < 0) excerptAt = first;
        }
        if (!all) continue;
        hit.excerpt = Excerpt(page.plain, excerptAt);
        hits.push_back(hit);
    }
    std::sort(hits.begin(), hits.end(), [](const HelpSearchHit& a, const HelpSearchHit& b) {
        if (a.score != b.score) return a.score > b.score;
        return QString::compare(a.title, b.title, Qt::CaseInsensitive) < 0;
    });
    return hits;
}

QString THelpPages::IndexHtml() const {
    // Entries by heading text; the same text on several pages is one entry with a link to
    // each.
    struct Entry {
        QString text;
        std::vector<const HelpHeading*> headings;
    };
    std::map<QString, Entry> entries;
    for (const HelpHeading& h : headings_) {
        Entry& entry = entries[h.text.toLower()];
        if (entry.text.isEmpty()) entry.text = h.text;
        entry.headings.push_back(&h);
    }
    auto link = [this](const HelpHeading& h, const QString& caption) {
        const QString target = h.anchor.isEmpty() ? h.page : h.page + QLatin1Char('#') + h.anchor;
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(target, Escaped(caption));
    };

    QString html = QStringLiteral(
        "<html><head><title>Index</title></head><body>\n<h2>Index</h2>\n"
        "<p>Every page and every section of the help, in alphabetical order. To find a word "
        "wherever it occurs, type it into the search field above.</p>\n<p>");
    std::set<QChar> letters;
    for (const auto& [key, entry] : entries) {
        if (!key.isEmpty() && key.at(0).isLetter() && key.at(0).unicode() < 128) letters.insert(key.at(0));
    }
    for (const QChar c : letters) {
        html += QStringLiteral("<a href=\"#index_%1\">%2</a> ").arg(c).arg(c.toUpper());
    }
    html += QStringLiteral("</p>\n");
    QChar current;
    for (const auto& [key, entry] : entries) {
        const QChar initial = key.isEmpty() ? QChar() : key.at(0);
        if (initial != current && letters.count(initial) != 0) {
            if (!current.isNull()) html += QStringLiteral("</p>\n");
            html += QStringLiteral("<h3><a name=\"index_%1\">%2</a></h3>\n<p>").arg(initial).arg(initial.toUpper());
            current = initial;
        } else if (current.isNull()) {
            html += QStringLiteral("<p>");
            current = QLatin1Char(' ');
        }
        if (entry.headings.size() == 1) {
            const HelpHeading& h = *entry.headings.front();
            html += link(h, entry.text);
            if (h.level > 2) html += QStringLiteral(" <i>(%1)</i>").arg(Escaped(Title(h.page)));
        } else {
            html += Escaped(entry.text) + QStringLiteral(": ");
            QStringList links;
            for (const HelpHeading* h : entry.headings) links << link(*h, Title(h->page));
            html += links.join(QStringLiteral(", "));
        }
        html += QStringLiteral("<br>\n");
    }
    html += QStringLiteral(
        "</p>\n<p><a href=\"contents.html\">Contents</a> &middot; "
        "<a href=\"glossary.html\">Glossary</a></p>\n</body></html>\n");
    return html;
}

}  // namespace zelkon
