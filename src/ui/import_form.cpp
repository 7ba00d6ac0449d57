// The "Import" dialog: preview grid, column and row options, filter.
#include "ui/import_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/grid_number.h"
#include "core/number_parse.h"
#include "data/data_messages.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {

// A column or row number field counted from 1, at most four digits.
QSpinBox* MakeNumberField(const char* name, int maximum, int value) {
    auto* field = new QSpinBox;
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(1, std::clamp(maximum, 1, 9999));
    field->setValue(std::clamp(value, 1, field->maximum()));
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 30);
    return field;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch(1);
    return row;
}

QLabel* Caption(std::string_view text) { return new QLabel(LabelText(text)); }

}  // namespace

TImportForm::TImportForm(const ImportPreview& preview, const QString& fileName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ImportForm"));
    setWindowTitle(ToQt(ImportPreviewCaption(FromQt(fileName))));
    const int columns = std::max(preview.columns, 1);
    const int rows = std::max(preview.rows, 1);

    auto* layout = new QVBoxLayout(this);
    if (!preview.table->DataTitle().empty()) {
        auto* title = new QLabel(ToQt(preview.table->DataTitle()));
        title->setObjectName(QStringLiteral("PreviewTitleLabel"));
        layout->addWidget(title);
    }
    // What the reading found: the encoding, what was left empty or out.
    QStringList accountLines;
    for (const std::string& line : AccountLines(preview.account)) accountLines << ToQt(line);
    account_ = new QLabel(accountLines.join(QLatin1Char('\n')));
    account_->setObjectName(QStringLiteral("ImportAccountLabel"));
    account_->setWordWrap(true);
    account_->setTextFormat(Qt::PlainText);
    account_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(account_);

    grid_ = new QTableWidget;
    grid_->setObjectName(QStringLiteral("PreviewGrid"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setMinimumHeight(180);
    FillPreview(preview);
    layout->addWidget(grid_, 1);

    // Columns.
    auto* columnBox = new QGroupBox;
    columnBox->setObjectName(QStringLiteral("ColumnOptions"));
    auto* columnLayout = new QVBoxLayout(columnBox);
    allColumns_ = new QRadioButton(LabelText(ImportAllColumnsCaption));
    allColumns_->setObjectName(QStringLiteral("AllColsRadioButton"));
    allColumns_->setChecked(true);
    columnRange_ = new QRadioButton(LabelText(ImportColumnRangeCaption));
    columnRange_->setObjectName(QStringLiteral("ColRangeRadioButton"));
    startColumn_ = MakeNumberField("StartColumnField", columns, 1);
    endColumn_ = MakeNumberField("EndColumnField", columns, columns);
    indexed_ = new QRadioButton(LabelText(ImportValueColumnCaption));
    indexed_->setObjectName(QStringLiteral("IndexedColRadioButton"));
    valueColumn_ = MakeNumberField("ValueColumnField", columns, 1);
    groupColumn_ = MakeNumberField("GroupAssignmentColField", columns, 2);
    columnLayout->addWidget(allColumns_);
    columnLayout->addLayout(Row({columnRange_, startColumn_, Caption(ImportToCaption), endColumn_}));
    columnLayout->addLayout(Row({indexed_, valueColumn_}));
    auto* groupRow = Row({Caption(ImportGroupColumnCaption), groupColumn_});
    groupRow->insertSpacing(0, 24);
    columnLayout->addLayout(groupRow);
    layout->addWidget(columnBox);

    // Rows.
    auto* rowBox = new QGroupBox;
    rowBox->setObjectName(QStringLiteral("RowOptions"));
    auto* rowLayout = new QVBoxLayout(rowBox);
    rowRange_ = new QCheckBox(LabelText(ImportRowRangeCaption));
    rowRange_->setObjectName(QStringLiteral("RowRangeCheckBox"));
    startRow_ = MakeNumberField("StartRowField", rows, 1);
    endRow_ = MakeNumberField("EndRowField", rows, rows);
    rowLayout->addLayout(Row({rowRange_, startRow_, Caption(ImportToCaption), endRow_}));
    filter_ = new QCheckBox(LabelText(ImportFilterCaption));
    filter_->setObjectName(QStringLiteral("FilterRowCheckBox"));
    filterColumn_ = MakeNumberField("FilterColumnField", columns, 1);
    condition_ = new QComboBox;
    condition_->setObjectName(QStringLiteral("ConditionComboBox"));
    for (std::string_view text : FilterConditionTexts) condition_->addItem(ToQt(text));
    filterValue_ = new QLineEdit;
    filterValue_->setObjectName(QStringLiteral("FilterValueField"));
    filterValue_->setMaxLength(20);
    auto* note = Caption(ImportFilterNote);
    note->setObjectName(QStringLiteral("FilterNoteLabel"));
    rowLayout->addLayout(Row({filter_, filterColumn_, condition_, filterValue_, note}));
    layout->addWidget(rowBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TImportForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TImportForm::reject);
    layout->addWidget(buttons);

    // Changing a field chooses the option it belongs to.
    const auto choose = [this](QSpinBox* field, auto* option) {
        connect(field, &QSpinBox::valueChanged, option, [option] { option->setChecked(true); });
    };
    choose(startColumn_, columnRange_);
    choose(endColumn_, columnRange_);
    choose(valueColumn_, indexed_);
    choose(groupColumn_, indexed_);
    choose(startRow_, rowRange_);
    choose(endRow_, rowRange_);
    choose(filterColumn_, filter_);
    connect(condition_, &QComboBox::activated, filter_, [this] { filter_->setChecked(true); });
    connect(filterValue_, &QLineEdit::textEdited, filter_, [this] { filter_->setChecked(true); });
    resize(640, 520);
}

void TImportForm::FillPreview(const ImportPreview& preview) {
    const DataTable& table = *preview.table;
    const int columns = std::clamp(preview.columns, 0, DataColumns);
    const int rows = std::clamp(preview.rows, 0, ImportRowLimit);
    grid_->setColumnCount(columns);
    grid_->setRowCount(rows);
    QStringList headers;
    for (int c = 0; c < columns; ++c) {
        QString header = QString::number(c + 1);
        const std::string& title = table.Record(c).title;
        if (!title.empty()) header += QLatin1Char('\n') + ToQt(title);
        headers << header;
    }
    grid_->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < columns; ++c) {
        // A label column shows its texts, greyed: they are not imported as values.
        if (preview.IsLabelColumn(c)) {
            for (int r = 0; r < rows; ++r) {
                const std::string_view text = preview.Text(r, c);
                if (text.empty()) continue;
                auto* item = new QTableWidgetItem(ToQt(text));
                item->setForeground(grid_->palette().color(QPalette::Disabled, QPalette::Text));
                grid_->setItem(r, c, item);
            }
            continue;
        }
        const std::int32_t decimals = ShownDecimals(table, c);
        for (int r = 0; r < rows; ++r) {
            if (table.IsMissing(r, c)) continue;
            auto* item = new QTableWidgetItem(ToQt(FormatGridNumber(table.Value(r, c), decimals)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (table.IsExcluded(r, c)) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            grid_->setItem(r, c, item);
        }
    }
    grid_->horizontalHeader()->setDefaultSectionSize(84);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
}

ImportOptions TImportForm::Options() const {
    ImportOptions options;
    if (columnRange_->isChecked()) {
        options.columns = ImportColumns::Range;
    } else if (indexed_->isChecked()) {
        options.columns = ImportColumns::Indexed;
    }
    options.fromColumn = startColumn_->value();
    options.toColumn = endColumn_->value();
    options.valueColumn = valueColumn_->value();
    options.groupColumn = groupColumn_->value();
    options.rowRange = rowRange_->isChecked();
    options.fromRow = startRow_->value();
    options.toRow = endRow_->value();
    options.filter = filter_->isChecked();
    options.filterColumn = filterColumn_->value();
    options.condition = static_cast<FilterCondition>(std::max(condition_->currentIndex(), 0));
    Extended value = 0;
    if (ParseNumber(FromQt(filterValue_->text()), Services().separators, value)) {
        options.filterValue = value;
    }
    return options;
}

std::optional<ImportOptions> TImportForm::CheckedOptions() const {
    const ImportOptions options = Options();
    UserPrompts& prompts = *Services().prompts;
    if (options.columns == ImportColumns::Indexed && options.valueColumn == options.groupColumn) {
        prompts.Tell(SameValueAndGroupColumnMessage);
        return std::nullopt;
    }
    Extended value = 0;
    if (options.filter && !ParseNumber(FromQt(filterValue_->text()), Services().separators, value)) {
        prompts.Tell(NumberNotValidMessage);
        return std::nullopt;
    }
    return options;
}

void TImportForm::accept() {
    if (!CheckedOptions()) {
        if (indexed_->isChecked()) {
            groupColumn_->setFocus();
        } else {
            filterValue_->setFocus();
        }
        return;
    }
    QDialog::accept();
}

}  // namespace zelkon
