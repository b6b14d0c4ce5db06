#pragma once

#include "Platform.h"

#include <QList>
#include <QWidget>
#include <optional>

class FilterChip;
class ModelContext;
class HorizontalStrip;
class StarredStrip;

// The block above the library's cards: the starred persons and the row of
// platform chips that filter the grid.
class LibraryHeader : public QWidget {
    Q_OBJECT
public:
    struct PlatformCount {
        Platform platform;
        int count = 0;
        bool operator==(const PlatformCount &) const = default;
    };

    explicit LibraryHeader(ModelContext &context, QWidget *parent = nullptr);

    // No chip row for an empty list; total is the "全部" chip's number.
    void setValues(bool showStars, const QList<PlatformCount> &platforms, int total,
                   std::optional<Platform> filter);
    StarredStrip *starredStrip() const { return m_strip; }
    // "全部" first, then one chip per platform.
    QList<FilterChip *> chips() const;

signals:
    void filterChosen(std::optional<Platform> platform);

private:
    void rebuildChips(const QList<PlatformCount> &platforms, int total);
    FilterChip *makeChip(const QString &title, int count, std::optional<Platform> platform);

    StarredStrip *m_strip;
    HorizontalStrip *m_chipScroller;
    QList<PlatformCount> m_platforms;
    int m_total = -1;
    std::optional<Platform> m_filter;
};
