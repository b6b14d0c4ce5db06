#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

class Media;
class QMimeData;
class QWidget;

// Lets the media item shown by a widget be dragged out to other programs as
// a file: a private copy written when the drag starts. Presses and clicks
// still reach the widget; only a press that moves far enough starts a drag.
class MediaDragSource : public QObject {
    Q_OBJECT
public:
    explicit MediaDragSource(QWidget *widget);

    // The item dragged and its file name without extension; no item, no drag.
    void setItem(std::shared_ptr<Media> media, const QString &name);
    // The file's link as a drag carries it; null when there is no live item
    // or its copy cannot be written.
    std::unique_ptr<QMimeData> mimeData() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startDrag();

    QWidget *m_widget;
    std::weak_ptr<Media> m_media;
    QString m_name;
    std::optional<QPoint> m_pressedAt;
};
