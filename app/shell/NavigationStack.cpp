#include "NavigationStack.h"

#include "ElidedLabel.h"
#include "Motion.h"
#include "Symbol.h"
#include "TabOrder.h"
#include "Theme.h"
#include "Typography.h"

#include <QEvent>
#include <QKeySequence>
#include <QStackedWidget>
#include <QToolButton>

namespace {

constexpr int margin = 14;
constexpr int backSize = 28;
constexpr int gap = 8;

void paintBackIcon(QToolButton &back)
{
    back.setIcon(
        QIcon(Symbol::pixmap(QStringLiteral("chevron.left"), 18, back.palette().color(QPalette::ButtonText),
                             1.3, back.devicePixelRatioF())));
}

} // namespace

NavigationStack::NavigationStack(QWidget *parent)
    : QWidget(parent), m_pages(new QStackedWidget(this)), m_back(new QToolButton(this)),
      m_title(new ElidedLabel({}, this)), m_subtitle(new ElidedLabel({}, this)),
      m_reveal(new Motion(Motion::Curve::fold(), 1.0, this))
{
    m_back->setAutoRaise(true);
    m_back->setToolTip(tr("返回"));
    m_back->setShortcut(QKeySequence::Back);
    m_back->setIconSize(QSize(18, 18));
    paintBackIcon(*m_back);
    Theme::followPalette(m_back, [back = m_back] { paintBackIcon(*back); });
    m_back->hide();
    connect(m_back, &QToolButton::clicked, this, &NavigationStack::pop);
    m_title->setObjectName(QStringLiteral("navigationTitle"));
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 15 / 13);
    titleFont.setWeight(QFont::Bold);
    m_title->setFont(titleFont);
    m_subtitle->setObjectName(QStringLiteral("navigationSubtitle"));
    m_subtitle->setFont(Typography::caption(font()));
    m_subtitle->setForegroundRole(QPalette::PlaceholderText);
    connect(m_reveal, &Motion::valueChanged, this, &NavigationStack::placeAll);
}

void NavigationStack::setRoot(QWidget *root)
{
    if (m_root) {
        m_pages->removeWidget(m_root);
        forget(m_root);
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
    forget(page);
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
        forget(page);
        page->deleteLater();
    }
    m_path.clear();
    showTop();
    emit depthChanged(0);
}

void NavigationStack::forget(QWidget *page)
{
    m_titles.remove(page);
}

void NavigationStack::setBarOverlay(QWidget *overlay)
{
    m_overlay = overlay;
    overlay->setParent(this);
    overlay->show();
    placeBar();
}

void NavigationStack::setToolbar(QWidget *toolbar)
{
    m_toolbar = toolbar;
    if (toolbar->parentWidget() != this) {
        toolbar->setParent(this);
        toolbar->show();
    }
    placeBar();
    placeBarInTabOrder();
}

void NavigationStack::setTitle(QWidget *page, const QString &title, const QString &subtitle)
{
    m_titles.insert(page, {title, subtitle});
    if (page == top())
        showTop();
}

QString NavigationStack::title() const
{
    return m_titles.value(top()).title;
}

QString NavigationStack::subtitle() const
{
    return m_titles.value(top()).subtitle;
}

void NavigationStack::setBarHidden(bool hidden)
{
    m_reveal->animateTo(hidden ? 0.0 : 1.0);
}

int NavigationStack::barExtent() const
{
    return qRound(barHeight * m_reveal->value().toReal());
}

int NavigationStack::depth() const
{
    return int(m_path.size());
}

QWidget *NavigationStack::top() const
{
    return m_path.isEmpty() ? m_root : m_path.last();
}

// The toolbar's size hint changes as the page on top changes its group.
bool NavigationStack::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest)
        placeBar();
    return QWidget::event(event);
}

void NavigationStack::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeAll();
}

// Pages start below the bar, so what the bar covers is only what scrolled under it.
void NavigationStack::placeAll()
{
    m_pages->setGeometry(rect().adjusted(0, barExtent(), 0, 0));
    placeBar();
}

// The bar's contents slide up with it as it folds.
void NavigationStack::placeBar()
{
    const int shift = barExtent() - barHeight;
    if (m_overlay)
        m_overlay->setGeometry(0, shift, width(), m_overlay->height());
    int left = margin;
    if (m_back->isVisibleTo(this)) {
        m_back->setGeometry(left - 4, shift + (barHeight - backSize) / 2, backSize, backSize);
        left += backSize + gap - 4;
    }
    int right = width() - margin;
    if (m_toolbar && m_toolbar->isVisibleTo(this)) {
        const QSize wanted = m_toolbar->sizeHint();
        // Half the width at most, but never less than its controls need: the title gives way.
        const int toolbarWidth =
            std::min(wanted.width(), std::max(width() / 2, m_toolbar->minimumSizeHint().width()));
        right -= toolbarWidth;
        m_toolbar->setGeometry(right, shift + (barHeight - wanted.height()) / 2, toolbarWidth,
                               wanted.height());
        right -= gap;
    }
    const int titleHeight = m_title->sizeHint().height();
    const int subtitleHeight = m_subtitle->text().isEmpty() ? 0 : m_subtitle->sizeHint().height();
    const int top = shift + (barHeight - titleHeight - subtitleHeight) / 2;
    const int titleWidth = std::max(right - left, 0);
    m_title->setGeometry(left, top, titleWidth, titleHeight);
    m_subtitle->setGeometry(left, top + titleHeight, titleWidth, subtitleHeight);
    for (QWidget *item : {static_cast<QWidget *>(m_back), static_cast<QWidget *>(m_title),
                          static_cast<QWidget *>(m_subtitle), m_toolbar}) {
        if (item)
            item->raise();
    }
}

// A page's toolbar widgets join the window's Tab order when put in the bar,
// after the page; the bar reads before it: the back button, then the toolbar
// from left to right.
void NavigationStack::placeBarInTabOrder()
{
    QList<QWidget *> stops{m_back};
    if (m_toolbar)
        stops += TabOrder::stopsIn(*m_toolbar);
    TabOrder::placeIn(*this, stops);
}

void NavigationStack::showTop()
{
    if (QWidget *page = top())
        m_pages->setCurrentWidget(page);
    m_back->setVisible(!m_path.isEmpty());
    const Titles titles = m_titles.value(top());
    m_title->setText(titles.title);
    m_subtitle->setText(titles.subtitle);
    m_subtitle->setVisible(!titles.subtitle.isEmpty());
    placeBar();
}
