#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QUuid>
#include <optional>

// Which posts are being imported right now and how far. Holds only ids, so
// a post deleted meanwhile does no harm. Written by the importer on the main
// thread, read by the views.
class ImportProgress : public QObject {
    Q_OBJECT
public:
    // A post is either being parsed or having its media downloaded.
    class Phase {
    public:
        static Phase parsing() { return Phase(true, 0.0); }
        // fraction runs from 0 to 1.
        static Phase downloading(double fraction) { return Phase(false, fraction); }

        bool isParsing() const { return m_parsing; }
        bool isDownloading() const { return !m_parsing; }
        double fraction() const { return m_fraction; }
        bool operator==(const Phase &other) const = default;

    private:
        Phase(bool parsing, double fraction) : m_parsing(parsing), m_fraction(fraction) {}
        bool m_parsing;
        double m_fraction;
    };

    struct DownloadItem {
        QUuid id;
        bool isVideo = false;
    };

    explicit ImportProgress(QObject *parent = nullptr);

    // The process-wide instance, created on first use on the main thread.
    static ImportProgress &shared();

    const QHash<QUuid, Phase> &phases() const { return m_phases; }
    std::optional<Phase> phase(const QUuid &post) const;
    // Whether the medium is in its post's running download pass and its
    // file has not ended yet.
    bool isDownloading(const QUuid &post, const QUuid &media) const;

    void startParsing(const QUuid &post);
    // An empty list ends the post's progress. A media id listed twice keeps
    // one entry, with the weight of its last listing.
    void startDownloading(const QUuid &post, const QList<DownloadItem> &media);
    void update(const QUuid &post, const QUuid &media, qint64 received, qint64 expected);
    // The item's download ended, successfully or not: it counts as whole.
    void complete(const QUuid &post, const QUuid &media);
    void finish(const QUuid &post);

signals:
    void phasesChanged(const QUuid &post);

private:
    struct Item {
        qint64 received = 0;
        qint64 expected = 0;
        double weight = 1.0;
        bool ended = false;
    };
    using ItemTable = QHash<QUuid, Item>;

    Item *item(const QUuid &post, const QUuid &media);
    void recompute(const QUuid &post);
    void setPhase(const QUuid &post, const Phase &phase);

    QHash<QUuid, Phase> m_phases;
    QHash<QUuid, ItemTable> m_items;
};
