#include "NavigationStack.h"

#include "Symbol.h"

#include <QKeySequence>
#include <QStackedWidget>
#include <QToolButton>

NavigationStack::NavigationStack(QWidget *parent)
    : QWidget(parent), m_pages(new QStackedWidget(this)), m_back(new QToolButton(this))
{
    m_back->setAutoRaise(true);
    m_back->setToolTip(tr("返回"));
    m_back->setShortcut(QKeySequence::Back);
    m_back->setIcon(QIcon(Symbol::pixmap(QStringLiteral("chevron.left"), 18,
                                         palette().color(QPalette::WindowText), 1.3, devicePixelRatioF())));
    m_back->setIconSize(QSize(18, 18));
    m_back->hide();
    connect(m_back, &QToolButton::clicked, this, &NavigationStack::pop);
}

void NavigationStack::setRoot(QWidget *root)
{
    if (m_root) {
        m_pages->removeWidget(m_root);
        m_root->deleteLater();
    }
    m_root = root;
    m_pages->insertWidget(0, root);
    showTop();
}

void NavigationStack::push(QWidget *page)
{
    m_path.append(page);
    m_pages->addWidget(page);
    showTop();
    emit depthChanged(depth());
}

void NavigationStack::pop()
{
    if (m_path.isEmpty())
        return;
    QWidget *page = m_path.takeLast();
    m_pages->removeWidget(page);
    page->deleteLater();
    showTop();
    emit depthChanged(depth());
}

void NavigationStack::clear()
{
    if (m_path.isEmpty())
        return;
    for (QWidget *page : std::as_const(m_path)) {
        m_pages->removeWidget(page);
        page->deleteLater();
    }
    m_path.clear();
    showTop();
    emit depthChanged(0);
}

void NavigationStack::setBarOverlay(QWidget *overlay)
{
    m_overlay = overlay;
    overlay->setParent(this);
    overlay->setGeometry(0, 0, width(), overlay->height());
    overlay->show();
    m_back->raise();
}

int NavigationStack::depth() const
{
    return int(m_path.size());
}

QWidget *NavigationStack::top() const
{
    return m_path.isEmpty() ? m_root : m_path.last();
}

void NavigationStack::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Pages start below the bar, so what the bar covers is only what scrolled under it.
    m_pages->setGeometry(rect().adjusted(0, barHeight, 0, 0));
    if (m_overlay)
        m_overlay->setGeometry(0, 0, width(), m_overlay->height());
    m_back->setGeometry(10, (barHeight - 28) / 2, 28, 28);
}

void NavigationStack::showTop()
{
    if (QWidget *page = top())
        m_pages->setCurrentWidget(page);
    m_back->setVisible(!m_path.isEmpty());
    m_back->raise();
}
