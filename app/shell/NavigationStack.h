#pragma once

#include <QWidget>

class QStackedWidget;
class QToolButton;

// A root page with pages pushed over it, and a back button that pops the
// top page. Pages are owned by the stack.
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
    // Lays a decoration over the top of every page, under the back button.
    void setBarOverlay(QWidget *overlay);

    // The number of pages over the root.
    int depth() const;
    QWidget *top() const;
    // The height of the bar over the pages that holds the back button.
    static constexpr int barHeight = 44;

signals:
    void depthChanged(int depth);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showTop();

    QStackedWidget *m_pages;
    QToolButton *m_back;
    QWidget *m_root = nullptr;
    QWidget *m_overlay = nullptr;
    QList<QWidget *> m_path;
};
