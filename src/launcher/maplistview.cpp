#include "launcher/maplistview.h"

#include <QPainter>
#include <QTextOption>

MapListView::MapListView(QWidget *parent)
    : QListView(parent)
{
}

void MapListView::setPlaceholderText(const QString &text)
{
    if (text == m_placeholder)
        return;
    m_placeholder = text;
    viewport()->update();
}

void MapListView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (m_placeholder.isEmpty() || (model() && model()->rowCount(rootIndex()) > 0))
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    // A long path has no blank to wrap at: it wraps anywhere rather than run out of sight.
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const int margin = fontMetrics().height() / 3;
    painter.drawText(QRectF(viewport()->rect().adjusted(margin, margin, -margin, -margin)),
                     m_placeholder, option);
}
