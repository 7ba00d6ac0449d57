// zelkon-cli stats: the column statistics of a data file, laid out as the statistics page
// shows them (one row per statistic, one column per data column), or as JSON.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/json_writer.h"
#include "core/latin1.h"
#include "document/summary_page.h"
#include "stats/column_stats.h"

namespace zelkon::cli {

namespace {

constexpr std::size_t LabelWidth = 26;
constexpr std::size_t CellWidth = 15;

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string ColumnHeading(const DataTable& table, int c) {
    const std::string& title = table.Record(c).title;
    return title.empty() ? std::string("Column ") + ColumnLetter(c) : title;
}

void WriteJson(const Document& doc, const std::vector<int>& columns, std::ostream& out) {
    const DataTable& table = doc.Table();
    JsonWriter w;
    w.BeginObject();
    w.Field("format", DataFormatCaption(doc.Format()));
    w.Field("title", table.DataTitle());
    w.Key("columns").BeginArray();
    for (int c : columns) {
        const ColumnRecord& r = table.Record(c);
        w.BeginObject();
        w.Field("column", std::string(1, ColumnLetter(c)));
        w.Field("title", r.title);
        w.Field("averaged", HoldsAveragedData(table, c));
        w.Field("n", r.n);
        w.Field("mean", r.mean);
        w.Field("sd", r.sd);
        w.Field("sem", r.sem);
        w.Field("lower95", r.lower95);
        w.Field("upper95", r.upper95);
        w.Field("minimum", r.minimum);
        w.Field("median", r.median);
        w.Field("maximum", r.maximum);
        w.Field("ks", r.ks);
        w.Field("ksp", r.ksp);
        w.Key("passed");
        if (IsMissingValue(r.ksp)) {
            w.Null();
        } else {
            w.Bool(r.passed);
        }
        w.EndObject();
    }
    w.EndArray().EndObject();
    out << w.Text() << '\n';
}

}  // namespace

int RunStatsCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    const bool json = args.TakeFlag("json");
    const std::vector<std::string> files = args.Positional();
    if (const auto unknown = args.UnknownOption()) {
        err << "zelkon-cli stats: unknown option " << *unknown << '\n';
        return ExitUsage;
    }
    if (files.size() != 1) {
        err << "usage: zelkon-cli stats FILE.ZLD [--json]\n";
        return ExitUsage;
    }
    std::unique_ptr<Document> document = OpenDataFile(files[0], err);
    if (!document) return ExitFailure;
    PrepareColumnStatistics(*document);
    const DataTable& table = document->Table();

    std::vector<int> columns;
    for (int c = 0; c < DataColumns; ++c) {
        if (table.Record(c).n > 0) columns.push_back(c);
    }
    if (json) {
        WriteJson(*document, columns, out);
        return ExitOk;
    }
    if (columns.empty()) {
        out << "No column holds data.\n";
        return ExitOk;
    }
    const bool errorIsSD = document->Format() != DataFormat::MeanSEMN;
    std::string line(LabelWidth, ' ');
    for (int c : columns) line += PadLeft(CutText(ColumnHeading(table, c), CellWidth - 1), CellWidth);
    out << Latin1ToUtf8(line) << '\n';
    const auto labels = StatisticsRowLabels(errorIsSD);
    for (int row = 0; row < StatisticsRowCount; ++row) {
        line = PadRight(std::string(labels[static_cast<std::size_t>(row)]), LabelWidth);
        for (int c : columns) {
            line += PadLeft(StatisticsCellText(table, c, static_cast<StatisticsRow>(row), errorIsSD),
                            CellWidth);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << Latin1ToUtf8(line) << '\n';
    }
    return ExitOk;
}

}  // namespace zelkon::cli
