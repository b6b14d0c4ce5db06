#include "MediaDragSource.h"

#include "Media.h"
#include "MediaExport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

MediaDragSource::MediaDragSource(QWidget *widget) : QObject(widget), m_widget(widget)
{
    widget->installEventFilter(this);
}

void MediaDragSource::setItem(std::shared_ptr<Media> media, const QString &name)
{
    m_media = media;
    m_name = name;
}

std::unique_ptr<QMimeData> MediaDragSource::mimeData() const
{
    const auto media = m_media.lock();
    if (!media || media->isGone() || !media->context())
        return nullptr;
    const std::optional<QString> file = MediaExport::file(*media, m_name);
    if (!file)
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(*file)});
    return data;
}

bool MediaDragSource::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton)
            m_pressedAt = press->position().toPoint();
        return false;
    }
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (!m_pressedAt || !(move->buttons() & Qt::LeftButton) ||
            (move->position().toPoint() - *m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return false;
        m_pressedAt.reset();
        startDrag();
        return true;
    }
    case QEvent::MouseButtonRelease: m_pressedAt.reset(); return false;
    default: return false;
    }
}

void MediaDragSource::startDrag()
{
    std::unique_ptr<QMimeData> data = mimeData();
    if (!data)
        return;
    auto *drag = new QDrag(m_widget);
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction);
    // The drag took the release, so a button would stay pressed.
    if (auto *button = qobject_cast<QAbstractButton *>(m_widget))
        button->setDown(false);
}
