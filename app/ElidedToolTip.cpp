#include "app/ElidedToolTip.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace lrf {

bool ElidedToolTip::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                              const QModelIndex& index) {
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = item.widget != nullptr ? item.widget->style() : view->style();
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    // The style keeps a margin on each side of the text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    if (item.fontMetrics.horizontalAdvance(item.text) > room.width() - 2 * margin) {
        QToolTip::showText(event->globalPos(), item.text, view->viewport(), room);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

} // namespace lrf
