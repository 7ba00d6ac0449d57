// The table generator: computes every entry of the studentized range and Dunnett tables,
// rounds it to the stored precision of its row, applies the recorded overrides, checks the
// entries every reader of the tables relies on, and writes the C++ source of the tables.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "analyses/groups/critical_tables.h"
#include "critical_value_integration.h"

namespace zelkon::tables {

enum class TableKind { StudentizedRange, Dunnett };

/// A stored entry that keeps the published value where the integration lands one storage
/// step away from it.
struct Override {
    TableKind table;
    int level;            ///< index into the table's probabilities
    std::int32_t df;      ///< row degrees of freedom (500 = infinity)
    std::int32_t k;       ///< number of means
    std::int32_t stored;  ///< the stored integer kept
    const char* reason;
};
const std::vector<Override>& Overrides();

/// An entry whose value the tables must hold exactly (to the stored precision).
struct TellingEntry {
    TableKind table;
    int level;
    std::int32_t df;
    std::int32_t k;
    double value;
};
const std::vector<TellingEntry>& TellingEntries();

/// One computed entry: the exact upper point, the integer stored for it and how it came
/// about.
struct StoredEntry {
    Real computed = 0;
    std::int32_t rounded = 0;  ///< computed value rounded to the row's precision
    std::int32_t stored = 0;   ///< what the table holds (the override where there is one)
    bool overridden = false;
    bool nearTie = false;  ///< the computed value lies within 1e-9 steps of a rounding tie
};

/// The stored form of an upper point: the value in units of the row's divisor (studentized
/// range) or in hundredths above the row's base (Dunnett), with the override applied.
/// Throws when the value does not fit the storage or an override is not one step away.
StoredEntry StoreStudentizedRange(int level, int row, int column, Real value);
StoredEntry StoreDunnett(int level, int row, int column, Real value);

/// Every level and row of one column of each table.
using StudentizedRangeColumnEntries =
    std::array<std::array<StoredEntry, StudentizedRangeRows>, StudentizedRangeLevels>;
using DunnettColumnEntries = std::array<std::array<StoredEntry, DunnettRows>, DunnettLevels>;
StudentizedRangeColumnEntries ComputeStudentizedRangeColumn(int column);
DunnettColumnEntries ComputeDunnettColumn(int column);

/// All entries of both tables.
struct GeneratedTables {
    std::array<StudentizedRangeColumnEntries, StudentizedRangeColumns> studentizedRange{};
    std::array<DunnettColumnEntries, DunnettColumns> dunnett{};
};
/// Computes both tables (about a minute); progress lines go to `progress` when given.
GeneratedTables GenerateTables(std::ostream* progress);

/// Throws when a telling entry is not held by the tables.
void CheckTellingEntries(const GeneratedTables& tables);

/// The C++ source of the tables (critical_tables.cpp).
std::string TableSource(const GeneratedTables& tables);

}  // namespace zelkon::tables
