#include "LibraryHeader.h"

#include "FilterChip.h"
#include "HorizontalStrip.h"
#include "StarredStrip.h"
#include "Theme.h"
#include "Typography.h"

#include <QVBoxLayout>

LibraryHeader::LibraryHeader(ModelContext &context, QWidget *parent) : QWidget(parent)
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    m_strip = new StarredStrip(context, this);
    layout->addWidget(m_strip);

    m_chipScroller = new HorizontalStrip(8, this);
    m_chipScroller->hide();
    layout->addWidget(m_chipScroller);
}

void LibraryHeader::setValues(bool showStars, const QList<PlatformCount> &platforms, int total,
                              std::optional<Platform> filter)
{
    m_strip->setWanted(showStars);
    m_filter = filter;
    if (platforms != m_platforms || total != m_total)
        rebuildChips(platforms, total);
    for (FilterChip *chip : chips())
        chip->setChecked(chip->platform() == m_filter);
    m_chipScroller->setVisible(!platforms.isEmpty());
}

QList<FilterChip *> LibraryHeader::chips() const
{
    QList<FilterChip *> result;
    for (QWidget *item : m_chipScroller->items())
        result.append(static_cast<FilterChip *>(item));
    return result;
}

void LibraryHeader::rebuildChips(const QList<PlatformCount> &platforms, int total)
{
    m_platforms = platforms;
    m_total = total;
    m_chipScroller->clear();
    if (platforms.isEmpty())
        return;
    m_chipScroller->add(makeChip(tr("全部"), total, std::nullopt));
    for (const PlatformCount &entry : platforms)
        m_chipScroller->add(makeChip(entry.platform.displayName(), entry.count, entry.platform));
}

FilterChip *LibraryHeader::makeChip(const QString &title, int count, std::optional<Platform> platform)
{
    const FilterChip::Style style{
        11, QMargins(12, 6, 12, 6), Theme::text(), Theme::background(), Theme::card(), Theme::text()};
    auto chip = new FilterChip(title, platform, count, style, m_chipScroller->widget());
    chip->setFont(Typography::callout(font()));
    // Choosing the chosen chip again keeps it chosen.
    connect(chip, &FilterChip::clicked, this, [this, chip, platform] {
        chip->setChecked(true);
        emit filterChosen(platform);
    });
    return chip;
}
