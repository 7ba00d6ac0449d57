// TZelkonGuide: the small modal window that explains the current step to a new user, with a
// page per step and the check box "Keep showing the Zelkon Guide." that mirrors the
// show-hints setting.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <span>
#include <string_view>

#include "document/steps.h"

class QCheckBox;
class QStackedWidget;

namespace zelkon {

/// The paragraphs of a step's page.
std::span<const std::string_view> GuideParagraphs(Step step);

/// Where the guide goes: 75 pixels below the main window's top; centred over the main window
/// on step 1, else at its right with 15 pixels to spare.
QPoint GuidePosition(const QRect& mainWindow, const QSize& guide, Step step);

inline constexpr std::string_view GuideKeepShowing = "Keep showing the Zelkon Guide.";
inline constexpr std::string_view GuideNotebookHint =
    "Don't click here. Close the guide, then click the arrow button at the bottom of the Zelkon "
    "window.";

class TZelkonGuide : public QDialog {
    Q_OBJECT
public:
    /// A guide showing the page of `step`, its check box ticked as `showHints` says.
    TZelkonGuide(Step step, bool showHints, QWidget* parent = nullptr);

    Step ShownStep() const { return step_; }
    QCheckBox* KeepShowingBox() const { return keepShowing_; }
    QStackedWidget* Notebook() const { return notebook_; }
    /// The check box's state: the show-hints setting after the guide closed.
    bool ShowHints() const;

private:
    Step step_;
    QStackedWidget* notebook_ = nullptr;
    QCheckBox* keepShowing_ = nullptr;
};

}  // namespace zelkon
