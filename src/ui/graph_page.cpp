// The graph page: the chart painted by the graph renderer and the switches under it.
#include "ui/graph_page.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "core/calc_status.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "render/graph_painter.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

// Pixels per labelled tick, so that a small chart gets fewer labels than a large one.
constexpr int PixelsPerLeftTick = 55;
constexpr int PixelsPerBottomTick = 80;

void SetComboItems(QComboBox* combo, const GraphColumnList& list) {
    QSignalBlocker block(combo);
    combo->clear();
    for (const std::string& item : list.items) combo->addItem(ToQt(item));
    combo->setCurrentIndex(list.selected);
}

}  // namespace

// The chart ------------------------------------------------------------------------------

TGraphChart::TGraphChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Chart1"));
    setMinimumSize(320, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGraphChart::SetModel(const GraphModel& model) {
    model_ = model;
    ScaleForSize();
    update();
}

void TGraphChart::ScaleForSize() {
    GraphOptions options;
    options.maxLeftTicks = std::clamp(height() / PixelsPerLeftTick, 3, 10);
    options.maxBottomTicks = std::clamp(width() / PixelsPerBottomTick, 3, 10);
    options.separators.decimal = Services().separators.decimal;
    options.separators.thousands = options.separators.decimal == ',' ? '.' : ',';
    ScaleGraphAxes(model_, options);
}

QImage TGraphChart::Picture() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintGraph(painter, QRectF(QPointF(0, 0), QSizeF(size())), model_);
    painter.end();
    return image;
}

void TGraphChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintGraph(painter, QRectF(rect()), model_);
}

void TGraphChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ScaleForSize();
}

void TGraphChart::mouseDoubleClickEvent(QMouseEvent*) {
    Services().prompts->Tell(GraphCustomizeMessage);
}

// The page -------------------------------------------------------------------------------

TGraphPage::TGraphPage(Document& document, QWidget* parent) : QWidget(parent), document_(document) {
    setObjectName(QStringLiteral("GraphPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    chart_ = new TGraphChart;
    layout->addWidget(chart_, 1);

    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("GraphBottomPanel"));
    auto* row = new QHBoxLayout(panel);

    sdButton_ = new QPushButton(ToQt(SDButtonCaption));
    sdButton_->setObjectName(QStringLiteral("GraphSDButton"));
    semButton_ = new QPushButton(ToQt(SEMButtonCaption));
    semButton_->setObjectName(QStringLiteral("GraphSEMButton"));
    auto* errorGroup = new QButtonGroup(this);
    for (QPushButton* button : {sdButton_, semButton_}) {
        button->setCheckable(true);
        errorGroup->addButton(button);
        row->addWidget(button);
    }
    connect(sdButton_, &QPushButton::clicked, this, [this] { ChooseError(true); });
    connect(semButton_, &QPushButton::clicked, this, [this] { ChooseError(false); });

    columnsButton_ = new QRadioButton(ToQt(ColumnsButtonCaption));
    columnsButton_->setObjectName(QStringLiteral("GraphColRadioButton"));
    rowsButton_ = new QRadioButton(ToQt(RowsButtonCaption));
    rowsButton_->setObjectName(QStringLiteral("GraphRowsRadioButton"));
    row->addWidget(columnsButton_);
    row->addWidget(rowsButton_);
    connect(columnsButton_, &QRadioButton::clicked, this, [this] { ChooseRows(false); });
    connect(rowsButton_, &QRadioButton::clicked, this, [this] { ChooseRows(true); });

    xLabel_ = new QLabel(QStringLiteral("X:"));
    xCombo_ = new QComboBox;
    xCombo_->setObjectName(QStringLiteral("MultRegGraphXComboBox"));
    xCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    xLabel_->setBuddy(xCombo_);
    yLabel_ = new QLabel(QStringLiteral("Y:"));
    yCombo_ = new QComboBox;
    yCombo_->setObjectName(QStringLiteral("MultRegGraphYComboBox"));
    yCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    yLabel_->setBuddy(yCombo_);
    row->addWidget(xLabel_);
    row->addWidget(xCombo_);
    row->addSpacing(12);
    row->addWidget(yLabel_);
    row->addWidget(yCombo_);
    connect(xCombo_, &QComboBox::activated, this, &TGraphPage::ChooseX);
    connect(yCombo_, &QComboBox::activated, this, &TGraphPage::ChooseY);

    analyzedOnly_ = new QCheckBox(ToQt(AnalyzedDataOnlyCaption));
    analyzedOnly_->setObjectName(QStringLiteral("GraphSelectedDataCheckBox"));
    row->addSpacing(12);
    row->addWidget(analyzedOnly_);
    connect(analyzedOnly_, &QCheckBox::clicked, this, &TGraphPage::ChooseAnalyzedOnly);
    row->addStretch(1);
    layout->addWidget(panel);
    ShowSwitches(shown_);
}

void TGraphPage::Prepare(const AnalysisEntryPoints& entries) {
    entries_ = &entries;
    Redraw();
}

void TGraphPage::Redraw() {
    // The run that the regression graphs need, as step 5 runs it; the rest only draws.
    if (!GlobalCalcStatus().Calculating()) ShowResults(document_, *entries_);
    const GraphModel model = BuildGraphModel(document_);
    ShowSwitches(model.switches);
    chart_->SetModel(model);
}

void TGraphPage::ShowSwitches(const GraphSwitches& switches) {
    shown_ = switches;
    sdButton_->setVisible(switches.showErrorButtons);
    semButton_->setVisible(switches.showErrorButtons);
    sdButton_->setChecked(switches.errorIsSD);
    semButton_->setChecked(!switches.errorIsSD);
    columnsButton_->setVisible(switches.showColumnsOrRows);
    rowsButton_->setVisible(switches.showColumnsOrRows);
    columnsButton_->setChecked(!switches.byRows);
    rowsButton_->setChecked(switches.byRows);
    for (QWidget* w : {static_cast<QWidget*>(xLabel_), static_cast<QWidget*>(xCombo_),
                       static_cast<QWidget*>(yLabel_), static_cast<QWidget*>(yCombo_)}) {
        w->setVisible(switches.showColumnLists);
    }
    SetComboItems(xCombo_, switches.xList);
    SetComboItems(yCombo_, switches.yList);
    analyzedOnly_->setVisible(switches.showAnalyzedDataOnly);
    analyzedOnly_->setChecked(switches.analyzedDataOnly);
}

void TGraphPage::AfterSwitch(bool wasModified) {
    Redraw();
    if (document_.Modified() && !wasModified) emit edited();
}

void TGraphPage::ChooseError(bool sd) {
    const bool was = document_.Modified();
    ChooseGraphError(document_, sd);
    AfterSwitch(was);
}

void TGraphPage::ChooseRows(bool rows) {
    const bool was = document_.Modified();
    ChooseGraphRows(document_, rows);
    AfterSwitch(was);
}

void TGraphPage::ChooseX(int index) {
    if (index < 0 || index >= static_cast<int>(shown_.xList.columns.size())) return;
    const bool was = document_.Modified();
    ChooseGraphXColumn(document_, shown_.xList.columns[static_cast<std::size_t>(index)]);
    AfterSwitch(was);
}

void TGraphPage::ChooseY(int index) {
    if (index < 0 || index >= static_cast<int>(shown_.yList.columns.size())) return;
    const bool was = document_.Modified();
    ChooseGraphYColumn(document_, shown_.yList.columns[static_cast<std::size_t>(index)]);
    AfterSwitch(was);
}

void TGraphPage::ChooseAnalyzedOnly(bool on) {
    const bool was = document_.Modified();
    ChooseAnalyzedDataOnly(document_, on);
    AfterSwitch(was);
}

void TGraphPage::CopyToClipboard() const {
    QApplication::clipboard()->setImage(chart_->Picture());
}

}  // namespace zelkon
