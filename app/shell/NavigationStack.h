#pragma once

#include <QHash>
#include <QWidget>

class ElidedLabel;
class Motion;
class QStackedWidget;
class QToolButton;

// A root page with pages pushed over it, under a navigation bar: the back
// button that pops the top page, the top page's title and subtitle, and the
// page's toolbar at the trailing end. The bar folds away while it is hidden,
// giving its room to the page. Pages are owned by the stack.
class NavigationStack : public QWidget {
    Q_OBJECT
public:
    explicit NavigationStack(QWidget *parent = nullptr);

    // Replaces the root; the pushed pages stay.
    void setRoot(QWidget *root);
    QWidget *root() const { return m_root; }
    void push(QWidget *page);
    void pop();
    // Drops every pushed page.
    void clear();
    // Lays a decoration over the top of every page, under the bar's contents.
    void setBarOverlay(QWidget *overlay);
    // Stands at the bar's trailing end.
    void setToolbar(QWidget *toolbar);
    // What the bar shows while the page is on top.
    void setTitle(QWidget *page, const QString &title, const QString &subtitle = {});
    QString title() const;
    QString subtitle() const;
    // Folds the bar away, or brings it back, over a quarter of a second.
    void setBarHidden(bool hidden);
    // The bar's height as drawn now, on its way while it folds.
    int barExtent() const;
    Motion &barMotion() const { return *m_reveal; }

    // The number of pages over the root.
    int depth() const;
    QWidget *top() const;
    // The height of the bar over the pages.
    static constexpr int barHeight = 52;

signals:
    void depthChanged(int depth);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Titles {
        QString title;
        QString subtitle;
    };

    void showTop();
    void forget(QWidget *page);
    void placeAll();
    void placeBar();
    void placeBarInTabOrder();

    QStackedWidget *m_pages;
    QToolButton *m_back;
    ElidedLabel *m_title;
    ElidedLabel *m_subtitle;
    QWidget *m_toolbar = nullptr;
    QWidget *m_root = nullptr;
    QWidget *m_overlay = nullptr;
    QList<QWidget *> m_path;
    QHash<const QWidget *, Titles> m_titles;
    Motion *m_reveal;
};
