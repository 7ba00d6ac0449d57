// The graph page of step 6: the chart of the document's data, drawn by the graph renderer,
// and the switches under it (SD or SEM, columns or rows, the multiple-regression graph's X
// and Y lists, "Analyzed data only").  Each switch stores its choice in the document and the
// graph is drawn again from the document.
#pragma once

#include <QWidget>

#include "document/analysis_run.h"
#include "output/graph_model.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zelkon {

class Document;

/// The chart: paints a graph model in its whole area.  A double click tells the user that the
/// graph cannot be customised.
class TGraphChart : public QWidget {
    Q_OBJECT
public:
    explicit TGraphChart(QWidget* parent = nullptr);

    void SetModel(const GraphModel& model);
    const GraphModel& Model() const { return model_; }
    /// The chart as a picture of its current size.
    QImage Picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ScaleForSize();

    GraphModel model_;
};

class TGraphPage : public QWidget {
    Q_OBJECT
public:
    explicit TGraphPage(Document& document, QWidget* parent = nullptr);

    /// Showing step 6: runs the analysis when the document needs it (the regression graphs
    /// draw its results), then draws the graph and sets the switches from the document.
    void Prepare(const AnalysisEntryPoints& entries = DefaultAnalysisEntryPoints());
    /// "Copy" on step 6: the chart as a picture on the clipboard.
    void CopyToClipboard() const;

    TGraphChart* Chart() const { return chart_; }
    QPushButton* SDButton() const { return sdButton_; }
    QPushButton* SEMButton() const { return semButton_; }
    QRadioButton* ColumnsButton() const { return columnsButton_; }
    QRadioButton* RowsButton() const { return rowsButton_; }
    QComboBox* XComboBox() const { return xCombo_; }
    QComboBox* YComboBox() const { return yCombo_; }
    QCheckBox* AnalyzedDataOnlyCheckBox() const { return analyzedOnly_; }

signals:
    /// A switch changed a choice that is saved with the document.
    void edited();

private:
    void Redraw();
    void ShowSwitches(const GraphSwitches& switches);
    void ChooseError(bool sd);
    void ChooseRows(bool rows);
    void ChooseX(int index);
    void ChooseY(int index);
    void ChooseAnalyzedOnly(bool on);
    void AfterSwitch(bool wasModified);

    Document& document_;
    const AnalysisEntryPoints* entries_ = &DefaultAnalysisEntryPoints();
    TGraphChart* chart_ = nullptr;
    QPushButton* sdButton_ = nullptr;
    QPushButton* semButton_ = nullptr;
    QRadioButton* columnsButton_ = nullptr;
    QRadioButton* rowsButton_ = nullptr;
    QLabel* xLabel_ = nullptr;
    QLabel* yLabel_ = nullptr;
    QComboBox* xCombo_ = nullptr;
    QComboBox* yCombo_ = nullptr;
    QCheckBox* analyzedOnly_ = nullptr;
    GraphSwitches shown_;
};

}  // namespace zelkon
