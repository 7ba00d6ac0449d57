// The composed messages and captions of data entry.
#include "data/data_messages.h"

#include "core/types.h"

namespace zelkon {

std::string TooManyRowsMessage(std::int32_t rowsRead) {
    return "There are too many rows of data in this file.Only the first " +
           std::to_string(rowsRead) + " rows will be read.";
}

std::string TooManyColumnsMessage(std::int32_t columnsRead, std::int32_t columnsLeftOut) {
    return "There are too many columns of data in this file.Only the first " +
           std::to_string(columnsRead) + " columns will be read; " +
           std::to_string(columnsLeftOut) +
           (columnsLeftOut == 1 ? " column was" : " columns were") + " left out.";
}

std::string TooManyGroupsMessage(std::int32_t groupsRead) {
    return "There are too many groups in this file.Only the first " +
           std::to_string(groupsRead) + " groups will be read.";
}

std::string ImportPreviewCaption(std::string_view fileName) {
    return "Preview of " + std::string(fileName);
}

std::string ImpossibleTransformQuestion(std::int64_t count) {
    return "The transformation you have selected is mathematically impossible with " +
           std::to_string(count) + " of the values. " +
           "These values will be erased. Continue?";
}

std::string CombineTargetText(int column) {
    return std::string("Create a new variable for column ") + ColumnLetter(column);
}

std::string NumberFormatTargetText(bool everything, int firstColumn, int lastColumn) {
    if (everything) return "For columns A-Z:";
    if (firstColumn != lastColumn) {
        return std::string("For columns ") + ColumnLetter(firstColumn) + "-" +
               ColumnLetter(lastColumn) + ":";
    }
    return std::string("For column ") + ColumnLetter(firstColumn) + ":";
}

}  // namespace zelkon
