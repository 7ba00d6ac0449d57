#include "ui/choice_page.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include "document/document.h"
#include "ui/widget_helpers.h"

namespace zelkon {

TChoicePage::TChoicePage(Document& document, QWidget* parent)
    : QWidget(parent), document_(document), watcher_(new OptionWatcher(this)) {
    connect(watcher_, &OptionWatcher::doubleClicked, this, [this] { emit showResultsRequested(); });
}

void TChoicePage::Changed() {
    document_.MarkModified();
    emit edited();
    Prepare();
}

void TChoicePage::MarkChanged() {
    document_.MarkModified();
    emit edited();
}

void TChoicePage::WatchOption(QWidget* option) { watcher_->Watch(option); }

void CheckInGroup(QButtonGroup* group, QAbstractButton* button) {
    if (button != nullptr) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

}  // namespace zelkon
