// Combine Variables: a new column holding the sum, difference, product or quotient of two
// columns, titled after them ("A-B").
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "core/platform.h"
#include "document/document.h"

namespace zelkon {

/// The operations of the dialog, in its order ("&Plus", "&Minus", "Times", "&Divided by").
enum class CombineOperation { Plus, Minus, Times, DividedBy };

/// The operator character of an operation in the new column's title.
char CombineOperatorCharacter(CombineOperation operation);

/// What the dialog offers: the new column and the columns that hold values.
struct CombineSetup {
    int targetColumn = 0;
    std::vector<int> columnsWithValues;
};

/// The user's choice in the dialog.
struct CombineChoice {
    int firstColumn = 0;
    int secondColumn = 1;
    CombineOperation operation = CombineOperation::Minus;  ///< the dialog's default
};

/// The "Combine Variables" dialog: shows the setup ("Create a new variable for column X"),
/// returns the choice or nothing for Cancel.
using CombineDialog = std::function<std::optional<CombineChoice>(const CombineSetup&)>;

/// The checks before the dialog: "You must enter data first." when the table holds no value;
/// the new column is the current column when it is empty, else the first empty column from A
/// to Z (a column is empty when it holds no value and no averaged data); "There must be an
/// empty column in order to combine columns." when there is none.  Tells the message and
/// returns nothing when the command ends.
std::optional<CombineSetup> PrepareCombine(const Document& document, int currentColumn,
                                           UserPrompts& prompts);

/// Fills the new column: for every row where both values are present, their sum, difference,
/// product or quotient (a division by 0, or a result that is not a finite number, leaves the
/// row empty), with the column's decimal places raised to the stored-number decimals of the
/// results.  The column is titled with the two letters and the operator ("A-B").  The
/// document is marked modified.
void FillCombinedColumn(Document& document, int targetColumn, const CombineChoice& choice);

/// The whole command: checks, dialog, fill.  Returns true when a column was filled.
bool CombineColumns(Document& document, int currentColumn, UserPrompts& prompts,
                    const CombineDialog& dialog);

}  // namespace zelkon
