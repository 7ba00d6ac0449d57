#include "ui/spread_grid_parts.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <qdrawutil.h>

#include "data/sheet_editing.h"
#include "ui/spread_grid_model.h"

namespace zelkon {

namespace {
constexpr int MaxDrawnCharacters = 20;
constexpr int TextRightMargin = 4;
constexpr int BorderGrip = 4;

void DrawRaised(QPainter* painter, const QRect& rect, const QPalette& palette) {
    const QBrush face = palette.button();
    qDrawWinPanel(painter, rect, palette, false, &face);
}
}  // namespace

// Headers ----------------------------------------------------------------------------------

TSpreadGridHeader::TSpreadGridHeader(Qt::Orientation orientation, int lineHeight, int titleWidth,
                                     QWidget* parent)
    : QHeaderView(orientation, parent), lineHeight_(lineHeight), titleWidth_(titleWidth) {
    setSectionsClickable(false);
    setHighlightSections(false);
}

QSize TSpreadGridHeader::sizeHint() const {
    const QSize base = QHeaderView::sizeHint();
    if (orientation() == Qt::Horizontal) return {base.width(), 2 * lineHeight_};
    return {titleWidth_, base.height()};
}

QRect TSpreadGridHeader::TitleRect(int section) const {
    const int start = sectionViewportPosition(section);
    const int size = sectionSize(section);
    if (orientation() == Qt::Horizontal) return {start, lineHeight_, size, height() - lineHeight_};
    return {0, start, width(), size};
}

void TSpreadGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid() || model() == nullptr) return;
    painter->save();
    const QPalette& pal = palette();
    painter->setPen(pal.color(QPalette::ButtonText));
    if (orientation() == Qt::Horizontal) {
        const QRect top(rect.x(), rect.y(), rect.width(), lineHeight_);
        const QRect bottom(rect.x(), rect.y() + lineHeight_, rect.width(), rect.height() - lineHeight_);
        DrawRaised(painter, top, pal);
        DrawRaised(painter, bottom, pal);
        const QString heading = model()->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString();
        const QString title =
            model()->headerData(logicalIndex, Qt::Horizontal, TSpreadGridModel::TitleRole).toString();
        painter->drawText(top.adjusted(2, 0, -2, 0), Qt::AlignCenter, heading);
        const QRect titleArea = bottom.adjusted(3, 0, -3, 0);
        painter->drawText(titleArea, Qt::AlignVCenter | Qt::AlignLeft,
                          painter->fontMetrics().elidedText(title, Qt::ElideRight, titleArea.width()));
    } else {
        DrawRaised(painter, rect, pal);
        const QString title = model()->headerData(logicalIndex, Qt::Vertical, Qt::DisplayRole).toString();
        painter->drawText(rect.adjusted(3, 0, -TextRightMargin, 0), Qt::AlignVCenter | Qt::AlignRight, title);
    }
    painter->restore();
}

int TSpreadGridHeader::PositionOf(const QMouseEvent* event) const {
    const QPoint p = event->position().toPoint();
    return orientation() == Qt::Horizontal ? p.x() : p.y();
}

bool TSpreadGridHeader::OnBorder(int position) const {
    // Only the columns can be sized; the rows keep their height.
    if (orientation() != Qt::Horizontal) return false;
    const int section = logicalIndexAt(position);
    if (section < 0) return false;
    const int start = sectionViewportPosition(section);
    const int end = start + sectionSize(section);
    return (position - start < BorderGrip && section > 0) || end - position <= BorderGrip;
}

void TSpreadGridHeader::mousePressEvent(QMouseEvent* event) {
    const int position = PositionOf(event);
    const int section = logicalIndexAt(position);
    if (event->button() != Qt::LeftButton || section < 0 || OnBorder(position)) {
        QHeaderView::mousePressEvent(event);
        return;
    }
    if (orientation() == Qt::Vertical && event->position().x() >= width() - RowTitleEditStrip) {
        emit titleEditRequested(section);
        return;
    }
    pressedSection_ = section;
    emit headerClicked(section, (event->modifiers() & Qt::ShiftModifier) != 0);
}

void TSpreadGridHeader::mouseMoveEvent(QMouseEvent* event) {
    if (pressedSection_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        QHeaderView::mouseMoveEvent(event);
        return;
    }
    const int section = logicalIndexAt(PositionOf(event));
    if (section >= 0 && section != pressedSection_) {
        pressedSection_ = section;
        emit headerClicked(section, true);
    }
}

void TSpreadGridHeader::mouseReleaseEvent(QMouseEvent* event) {
    pressedSection_ = -1;
    QHeaderView::mouseReleaseEvent(event);
}

void TSpreadGridHeader::mouseDoubleClickEvent(QMouseEvent* event) {
    const int position = PositionOf(event);
    const int section = logicalIndexAt(position);
    if (event->button() != Qt::LeftButton || section < 0 || OnBorder(position)) {
        QHeaderView::mouseDoubleClickEvent(event);
        return;
    }
    // The heading line selects; the title line (and a row title) is edited.
    if (orientation() == Qt::Horizontal && event->position().y() < lineHeight_) return;
    emit titleEditRequested(section);
}

// Cell editor ------------------------------------------------------------------------------

TSpreadInplaceEdit::TSpreadInplaceEdit(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("SpreadInplaceEdit"));
    setMaxLength(static_cast<int>(MaxCellEditLength));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrame(false);
    // Pasted text is held to the same characters as typed text.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.,eE\\-]*")), this));
}

void TSpreadInplaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) &&
        onArrow) {
        onArrow(key);
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        for (const QChar ch : text) {
            if (ch.unicode() > 0x7F || !AcceptsCellCharacter(static_cast<char>(ch.unicode()))) {
                event->accept();
                return;
            }
        }
        if (!CellEditorHasRoom(static_cast<std::size_t>(this->text().size()), hasSelectedText())) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

// Cell painter -----------------------------------------------------------------------------

TSpreadGridDelegate::TSpreadGridDelegate(QObject* parent)
    : QStyledItemDelegate(parent), font(QStringLiteral("Arial"), 9) {}

void TSpreadGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const QWidget* focus = QApplication::focusWidget();
    const bool gridFocused = view != nullptr && focus != nullptr && (focus == view || view->isAncestorOf(focus));
    const bool highlighted = gridFocused && (option.state & QStyle::State_Selected);
    const QPalette& pal = option.palette;

    QColor background = pal.color(QPalette::Base);
    if (index.data(TSpreadGridModel::AveragedRole).toBool()) background = pal.color(QPalette::Button);
    QColor foreground = pal.color(QPalette::Text);
    QFont cellFont = font;
    if (index.data(TSpreadGridModel::ExcludedRole).toBool()) {
        cellFont.setItalic(true);
        foreground = excludedColour;
    }
    if (highlighted) {
        background = pal.color(QPalette::Highlight);
        foreground = pal.color(QPalette::HighlightedText);
    }
    painter->save();
    painter->fillRect(option.rect, background);
    painter->setFont(cellFont);
    painter->setPen(foreground);
    const QRect textArea = option.rect.adjusted(2, 0, -TextRightMargin, 0);
    const QFontMetrics metrics(cellFont);
    const auto fits = [&](const QString& shown) {
        return shown.size() <= MaxDrawnCharacters && metrics.horizontalAdvance(shown) <= textArea.width();
    };
    // A text too wide for the cell is shortened on the right or put in exponent form, never
    // cut on the left; when even the shortest form is too wide it is cut on the right.
    const auto* model = qobject_cast<const TSpreadGridModel*>(index.model());
    const QString text = model != nullptr ? model->FittedCellText(index.row(), index.column(), fits)
                                          : index.data(Qt::DisplayRole).toString().left(MaxDrawnCharacters);
    const Qt::Alignment align = fits(text) ? Qt::AlignRight : Qt::AlignLeft;
    painter->setClipRect(option.rect);
    painter->drawText(textArea, align | Qt::AlignVCenter, text);
    if (view != nullptr && view->currentIndex() == index) {
        painter->setPen(QPen(pal.color(QPalette::Text), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    }
    painter->restore();
}

QWidget* TSpreadGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex&) const {
    auto* editor = new TSpreadInplaceEdit(parent);
    editor->setFont(font);
    editor->onArrow = onEditorArrow;
    return editor;
}

void TSpreadGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // The editor starts with every digit of the value, even when that is more than can be
    // typed: what is shown may be rounded.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        line->setMaxLength(std::max(static_cast<int>(MaxCellEditLength), static_cast<int>(text.size())));
        line->setText(text);
    }
}

bool TSpreadGridDelegate::eventFilter(QObject* watched, QEvent* event) {
    // Enter posts the value and moves down, Tab right (Shift: up, left), as in every
    // spreadsheet; the grid does the moving.
    if (event->type() == QEvent::KeyPress && onEditorArrow && qobject_cast<TSpreadInplaceEdit*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = (key->modifiers() & Qt::ShiftModifier) != 0;
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter: onEditorArrow(shift ? Qt::Key_Up : Qt::Key_Down); return true;
            case Qt::Key_Tab: onEditorArrow(Qt::Key_Right); return true;
            case Qt::Key_Backtab: onEditorArrow(Qt::Key_Left); return true;
            default: break;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

void TSpreadGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
    // Only typed text is posted: the shown text of a value may be rounded (a fixed display
    // format, the exponent form), and posting it back unchanged would overwrite the value.
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line != nullptr && line->isModified()) model->setData(index, line->text(), Qt::EditRole);
}

}  // namespace zelkon
