// The help pages as built into the program: every page in its place with title, heading
// and the links at its foot; every link and picture resolves; every quote of the report
// occurs in a string literal of the engine; each analysis page quotes the P value and ties
// remarks of its report; the contents list every page; pages keep to their length.
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <map>
#include <set>

#include "app/help_browser_pages.h"
#include "ui_test_support.h"

namespace zelkon {

namespace {

QString SourcePath(const QString& relative) {
    return QStringLiteral(ZELKON_SOURCE_DIR "/") + relative;
}

/// Lines of a data file under tests/data/help, comments and blank lines left out, each
/// split at its TAB.
std::vector<QStringList> DataLines(const QString& name) {
    QFile file(SourcePath(QStringLiteral("tests/data/help/") + name));
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(file.fileName()));
    std::vector<QStringList> lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        lines.push_back(line.split(QLatin1Char('\t')));
    }
    return lines;
}

/// The string literals of a C++ source, adjacent literals joined (as the compiler joins
/// them), escapes decoded; the bytes are Latin-1.
void CollectLiterals(const QByteArray& code, std::set<QString>& literals) {
    QByteArray current;
    bool open = false;  // a literal was read and only blanks or comments followed
    auto flush = [&] {
        if (open) literals.insert(QString::fromLatin1(current));
        current.clear();
        open = false;
    };
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n;) {
        const char c = code[i];
        if (c == '/' && i + 1 < n && code[i + 1] == '/') {
            while (i < n && code[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && code[i + 1] == '*') {
            const qsizetype end = code.indexOf("*/", i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == '\'') {  // a character literal ('"' must not open a string)
            flush();
            for (++i; i < n && code[i] != '\''; ++i) {
                if (code[i] == '\\') ++i;
            }
            ++i;
        } else if (c == 'R' && i + 1 < n && code[i + 1] == '"') {
            const qsizetype paren = code.indexOf('(', i + 2);
            const QByteArray close = ')' + code.mid(i + 2, paren - i - 2) + '"';
            const qsizetype end = code.indexOf(close, paren);
            current += code.mid(paren + 1, end - paren - 1);
            open = true;
            i = end + close.size();
        } else if (c == '"') {
            for (++i; i < n && code[i] != '"'; ++i) {
                if (code[i] != '\\') {
                    current += code[i];
                    continue;
                }
                const char e = code[++i];
                switch (e) {
                    case 'n': current += '\n'; break;
                    case 't': current += '\t'; break;
                    case 'r': current += '\r'; break;
                    case 'x': {
                        int value = 0;
                        while (i + 1 < n && std::isxdigit(static_cast<unsigned char>(code[i + 1]))) {
                            value = value * 16 + QByteArray(1, code[++i]).toInt(nullptr, 16);
                        }
                        current += static_cast<char>(value);
                        break;
                    }
                    default:
                        if (e >= '0' && e <= '7') {
                            int value = e - '0';
                            for (int k = 0; k < 2 && i + 1 < n && code[i + 1] >= '0' && code[i + 1] <= '7'; ++k) {
                                value = value * 8 + (code[++i] - '0');
                            }
                            current += static_cast<char>(value);
                        } else {
                            current += e;  // \" \\ \'
                        }
                }
            }
            ++i;
            open = true;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else {
            flush();
            ++i;
        }
    }
    flush();
}

const std::set<QString>& EngineLiterals() {
    static const std::set<QString> literals = [] {
        std::set<QString> all;
        for (const char* area : {"src/analyses", "src/report", "src/output", "src/stats",
                                 "src/document", "src/core"}) {
            QDirIterator it(SourcePath(QString::fromLatin1(area)), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                            QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile file(it.next());
                if (file.open(QIODevice::ReadOnly)) CollectLiterals(file.readAll(), all);
            }
        }
        return all;
    }();
    return literals;
}

bool InSomeLiteral(const QString& text) {
    for (const QString& literal : EngineLiterals()) {
        if (literal.contains(text)) return true;
    }
    return false;
}

QString Unescaped(QString text) {
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9a-fA-F]+);"));
    for (QRegularExpressionMatch m = numeric.match(text); m.hasMatch(); m = numeric.match(text)) {
        const uint code = m.captured(2).toUInt(nullptr, m.captured(1).isEmpty() ? 10 : 16);
        text.replace(m.capturedStart(), m.capturedLength(), QString(QChar(code)));
    }
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

/// The quotes of the report on a page: the text of each <span class="report">, a line break
/// of the page's source with the blanks around it read as one blank.
QStringList ReportQuotes(const QString& source) {
    static const QRegularExpression span(QStringLiteral("<span class=\"report\">(.*?)</span>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression lineBreak(QStringLiteral("[ \\t]*\\r?\\n[ \\t]*"));
    QStringList quotes;
    for (auto it = span.globalMatch(source); it.hasNext();) {
        QString text = it.next().captured(1);
        text.replace(lineBreak, QStringLiteral(" "));
        quotes << Unescaped(text);
    }
    return quotes;
}

QStringList Captures(const QString& source, const QString& pattern) {
    const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (auto it = re.globalMatch(source); it.hasNext();) found << Unescaped(it.next().captured(1));
    return found;
}

int WordCount(const QString& source) {
    QString text = source;
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return static_cast<int>(text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).size());
}

}  // namespace

class HelpPagesTest : public QObject {
    Q_OBJECT

    THelpPages pages_;

private slots:
    void theProgramHoldsTheFilesOfTheHelpFolder() {
        QDir folder(SourcePath(QStringLiteral("docs/help")));
        const QStringList files = folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        QCOMPARE(pages_.Pages(), files);
        QVERIFY(!files.contains(QLatin1String(HelpIndexPage)));  // generated from the headings
    }

    void everyPageHasItsTitleHeadingAndFoot() {
        for (const QString& page : pages_.Pages()) {
            const QString source = pages_.Source(page);
            const QStringList titles = Captures(source, QStringLiteral("<title>(.*?)</title>"));
            const QStringList h2 = Captures(source, QStringLiteral("<h2[^>]*>(.*?)</h2>"));
            QVERIFY2(titles.size() == 1 && h2.size() == 1, qPrintable(page));
            QVERIFY2(titles.front() == h2.front(), qPrintable(page + ": the heading is not the title"));
            // The last paragraph links the contents and the glossary.
            const qsizetype foot = source.lastIndexOf(QStringLiteral("<p>"));
            const QString last = source.mid(foot);
            for (const char* target : {"contents.html", "glossary.html"}) {
                QVERIFY2(page == QLatin1String(target) || last.contains(QStringLiteral("href=\"%1\"").arg(QLatin1String(target))),
                         qPrintable(page + ": no link to " + QLatin1String(target) + " at its foot"));
            }
        }
    }

    void everyLinkAndPictureResolves() {
        QStringList broken;
        QStringList all = pages_.Pages();
        all << QString::fromLatin1(HelpIndexPage);
        for (const QString& page : all) {
            const QString html = pages_.Html(page);
            const QUrl base(QStringLiteral("qrc:/help/") + page);
            for (const QString& href : Captures(html, QStringLiteral("<a\\s[^>]*href=\"([^\"]*)\""))) {
                const QUrl url = base.resolved(QUrl(href));
                if (url.scheme() != QLatin1String("qrc")) continue;  // a web address
                const QString target = url.fileName();
                if (!url.path().startsWith(QLatin1String("/help/")) || !pages_.HasPage(target) ||
                    (url.hasFragment() && !pages_.Anchors(target).contains(url.fragment()))) {
                    broken << page + QStringLiteral(": ") + href;
                }
            }
            for (const QString& src : Captures(html, QStringLiteral("<img\\s[^>]*src=\"([^\"]*)\""))) {
                const QUrl url = base.resolved(QUrl(src));
                if (QImage(QLatin1Char(':') + url.path()).isNull() ||
                    !QFile::exists(SourcePath(QStringLiteral("docs") + url.path()))) {
                    broken << page + QStringLiteral(": picture ") + src;
                }
            }
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
    }

    void theGlossaryHasEveryTermThePagesLinkTo() {
        const QStringList anchors = pages_.Anchors(QStringLiteral("glossary.html"));
        for (const char* term : {"p_value", "confidence_interval", "sd_sem", "tails", "paired", "nonparametric",
                                 "ties", "exact_p", "post_test", "multiple_comparisons", "residual", "r_squared",
                                 "vif"}) {
            QVERIFY2(anchors.contains(QLatin1String(term)), term);
        }
    }

    void everyReportQuoteIsTheEnginesOwnText() {
        QVERIFY(InSomeLiteral(QStringLiteral("The P value is exactly correct (no approximations).")));
        QVERIFY(!InSomeLiteral(QStringLiteral("The P value is exactly correct (no approximations). It")));
        QStringList unknown;
        for (const QString& page : pages_.Pages()) {
            for (const QString& quote : ReportQuotes(pages_.Source(page))) {
                if (quote.trimmed().isEmpty() || !InSomeLiteral(quote)) unknown << page + QStringLiteral(": ") + quote;
            }
        }
        QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join(QLatin1Char('\n'))));
    }

    void eachAnalysisPageQuotesItsRemarks() {
        QStringList missing;
        for (const QStringList& line : DataLines(QStringLiteral("report_quotes.txt"))) {
            QVERIFY2(line.size() == 2, qPrintable(line.join(QLatin1Char('|'))));
            QVERIFY2(InSomeLiteral(line[1]), qPrintable(QStringLiteral("no longer in the engine: ") + line[1]));
            const QStringList quotes = ReportQuotes(pages_.Source(line[0]));
            const bool quoted = std::any_of(quotes.begin(), quotes.end(),
                                            [&](const QString& quote) { return quote.contains(line[1]); });
            if (!quoted) missing << line.join(QStringLiteral(": "));
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

    void everyPageIsThereListedInTheContentsAndOfItsLength() {
        const QString contents = pages_.Source(QStringLiteral("contents.html"));
        QStringList faults;
        std::set<QString> listed;
        for (const QStringList& line : DataLines(QStringLiteral("pages.txt"))) {
            const QString& page = line[0];
            const QString& kind = line[1];
            listed.insert(page);
            if (!pages_.HasPage(page)) {
                faults << page + QStringLiteral(": missing");
                continue;
            }
            const int words = WordCount(pages_.Source(page));
            if (kind != QLatin1String("reference") && (words < 400 || words > 900)) {
                faults << page + QStringLiteral(": %1 words").arg(words);
            }
            if (kind == QLatin1String("analysis") && ReportQuotes(pages_.Source(page)).isEmpty()) {
                faults << page + QStringLiteral(": quotes nothing of its report");
            }
        }
        for (const QString& page : pages_.Pages()) {
            if (listed.count(page) == 0) faults << page + QStringLiteral(": not in tests/data/help/pages.txt");
            if (page != QLatin1String("contents.html") && !contents.contains(QStringLiteral("href=\"%1\"").arg(page))) {
                faults << page + QStringLiteral(": not in the contents");
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void theLiteralReaderJoinsAndDecodes() {
        std::set<QString> literals;
        CollectLiterals(QByteArrayLiteral("f('\"'); g(\"a \\\"b\\\" \" // x\n \"c\\x41\\101\"); h(\"one\", \"two\");"
                                          " /* \"no\" */ k(R\"(raw \"q\")\");"),
                        literals);
        const std::set<QString> expected = {QStringLiteral("a \"b\" cAA"), QStringLiteral("one"),
                                            QStringLiteral("two"), QStringLiteral("raw \"q\"")};
        QCOMPARE(literals, expected);
        QCOMPARE(ReportQuotes(QStringLiteral("<span class=\"report\">P &lt; 0.05\n   with so few</span>")),
                 QStringList{QStringLiteral("P < 0.05 with so few")});
    }
};

}  // namespace zelkon

ZELKON_GUI_TEST_MAIN(zelkon::HelpPagesTest)
#include "help_pages_test.moc"
