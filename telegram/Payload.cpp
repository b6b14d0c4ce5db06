#include "TelegramSync.h"

#include "ImageTools.h"
#include "Media.h"
#include "Post.h"
#include "Tag.h"
#include "Text.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextBoundaryFinder>
#include <QtConcurrent/QtConcurrentMap>
#include <QCoro/QCoroFuture>
#include <limits>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

using Item = TelegramSync::Payload::Item;

constexpr int photoPixels = 2560;
constexpr double photoQuality = 0.9;
constexpr int thumbnailPixels = 320;
constexpr double thumbnailQuality = 0.8;

// A video or sound file, sized without reading it: the store's file, read
// by the worker, or the bytes while they are not saved yet.
struct StoredFile {
    std::variant<QString, QByteArray> place;
    qint64 size = 0;
};

std::optional<StoredFile> storedFile(const Media &medium)
{
    if (const auto path = medium.videoDataFilePath())
        return StoredFile{*path, QFileInfo(*path).size()};
    // Without a whole file this reads nothing: the bytes are in memory or absent.
    if (const auto bytes = medium.videoData())
        return StoredFile{*bytes, bytes->size()};
    return std::nullopt;
}

std::optional<QByteArray> bytesOf(const StoredFile &file)
{
    if (const auto *bytes = std::get_if<QByteArray>(&file.place))
        return *bytes;
    QFile stored(std::get<QString>(file.place));
    if (!stored.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = stored.readAll();
    return stored.error() == QFileDevice::NoError ? std::optional(bytes) : std::nullopt;
}

// What an item is made of, read from the records on the main thread so that
// the worker touches no record.
struct Source {
    Item::Kind kind = Item::Kind::photo;
    std::optional<QByteArray> image;
    // The video or audio file (for those kinds only).
    StoredFile file;
    std::optional<qint64> width;
    std::optional<qint64> height;
    std::optional<qint64> duration;
    std::optional<QString> title;
    std::optional<QString> performer;
};

std::optional<qint64> positiveWhole(double value)
{
    // Values past the 64-bit range are no real size or length: left out.
    if (!(value > 0) || value >= double(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return qint64(value);
}

std::optional<QString> nonEmpty(const QString &text)
{
    return text.isEmpty() ? std::nullopt : std::optional(text);
}

QString escaped(const QString &text)
{
    QString result = text;
    return result.replace(u'&', QLatin1String("&amp;"))
        .replace(u'<', QLatin1String("&lt;"))
        .replace(u'>', QLatin1String("&gt;"))
        .replace(u'"', QLatin1String("&quot;"));
}

bool isLetterOrNumber(const QString &character)
{
    const char32_t first = QStringView(character).toUcs4().value(0);
    return QChar::isLetterOrNumber(first);
}

// "#" and the name, every character that is neither letter nor number as "_".
QString hashtag(const QString &name)
{
    QString tag = u"#"_s;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, name);
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        const QString character = name.mid(start, finder.position() - start);
        tag += isLetterOrNumber(character) ? character : u"_"_s;
        start = finder.position();
    }
    return tag;
}

QString sourceLine(const Post &post)
{
    QStringList pieces;
    if (!post.authorName().isEmpty())
        pieces.append(u"👤 "_s + escaped(post.authorName()));
    if (post.platform() != Platform::local)
        pieces.append(post.platform().displayName());
    return pieces.join(u" · "_s);
}

QString tagLine(const Post &post)
{
    QStringList tags;
    for (const auto &tag : post.sortedTags())
        if (const QString text = hashtag(tag->name()); text.size() > 1)
            tags.append(text);
    return tags.join(u' ');
}

Source audioSource(const Post &post, const Media &medium, const StoredFile &file)
{
    return {Item::Kind::audio,
            medium.data(),
            file,
            std::nullopt,
            std::nullopt,
            positiveWhole(medium.duration()),
            nonEmpty(post.title()),
            nonEmpty(post.authorName())};
}

Source photoSource(const Media &medium)
{
    Source source;
    source.image = medium.data();
    return source;
}

Source videoSource(const Media &medium, const StoredFile &file)
{
    return {Item::Kind::video,
            medium.data(),
            file,
            positiveWhole(medium.width()),
            positiveWhole(medium.height()),
            positiveWhole(medium.duration()),
            {},
            {}};
}

std::optional<Item> encodedPhoto(const Source &source)
{
    const auto photo =
        source.image ? ImageTools::thumbnail(*source.image, photoPixels, photoQuality) : std::nullopt;
    return photo ? std::optional(Item{Item::Kind::photo, *photo, {}, {}, {}, {}, {}, {}}) : std::nullopt;
}

// Runs in a worker, one medium each: the image re-encoding is the one costly
// step, and the media of a post are encoded side by side. A file that can no
// longer be read goes as its cover, like one never downloaded.
std::optional<Item> encoded(const Source &source)
{
    if (source.kind == Item::Kind::photo)
        return encodedPhoto(source);
    const auto file = bytesOf(source.file);
    if (!file)
        return encodedPhoto(source);
    const auto thumbnail =
        source.image ? ImageTools::thumbnail(*source.image, thumbnailPixels, thumbnailQuality) : std::nullopt;
    return Item{source.kind,   *file,           thumbnail,    source.width,
                source.height, source.duration, source.title, source.performer};
}

} // namespace

QCoro::Task<TelegramSync::Payload> TelegramSync::payload(std::shared_ptr<Post> post)
{
    const auto media = post->sortedMedia();
    QList<Source> sources;
    bool videoLeftOut = false;
    const bool loneAudio = media.size() == 1 && media.first()->kind() == MediaKind::audio;
    const auto audio = loneAudio ? storedFile(*media.first()) : std::nullopt;
    if (audio && audio->size <= fileLimit) {
        sources.append(audioSource(*post, *media.first(), *audio));
    } else {
        for (const auto &medium : media) {
            const auto file = medium->kind() == MediaKind::video ? storedFile(*medium) : std::nullopt;
            const bool sendsFile = file && file->size <= fileLimit;
            videoLeftOut = videoLeftOut || (file && !sendsFile);
            sources.append(sendsFile ? videoSource(*medium, *file) : photoSource(*medium));
        }
    }
    const auto warning = videoLeftOut
                             ? std::optional(QCoreApplication::translate("Telegram", "视频超过 50MB，见原文"))
                             : std::nullopt;
    Payload payload{text(*post, warning), {}};
    QFuture<std::optional<Item>> encoding = QtConcurrent::mapped(sources, encoded);
    // Awaited as a future without value: the typed wait reads the first
    // result, which a post without media does not have.
    co_await qCoro(QFuture<void>(encoding)).waitForFinished();
    for (const auto &item : encoding.results())
        if (item)
            payload.items.append(*item);
    co_return payload;
}

QString TelegramSync::text(const Post &post, const std::optional<QString> &note)
{
    QStringList blocks;
    const auto addBlock = [&blocks](bool condition, const QString &block) {
        if (condition)
            blocks.append(block);
    };
    addBlock(!post.title().isEmpty(), u"<b>"_s + escaped(post.title()) + u"</b>"_s);
    addBlock(!post.content().isEmpty(), escaped(post.content()));
    addBlock(!post.note().isEmpty(), u"📝 "_s + escaped(post.note()));
    const QString source = sourceLine(post);
    addBlock(!source.isEmpty(), source);
    const QString tags = tagLine(post);
    addBlock(!tags.isEmpty(), tags);
    addBlock(note.has_value(), u"⚠️ "_s + escaped(note.value_or(QString())));
    addBlock(!post.sourceURL().isEmpty(),
             u"<a href=\"%1\">🔗 %2</a>"_s.arg(escaped(post.sourceURL()),
                                              QCoreApplication::translate("Telegram", "原文")));
    return blocks.join(u"\n\n"_s);
}

QString TelegramSync::truncate(const QString &text, int limit)
{
    if (Text::characterCount(text) <= limit)
        return text;
    QString kept = Text::characterPrefix(text, qMax(0, limit - 1));
    // A tag, then an entity, cut in half goes.
    for (const auto &[open, close] : {std::pair(u'<', u'>'), std::pair(u'&', u';')}) {
        const qsizetype start = kept.lastIndexOf(open);
        if (start >= 0 && kept.indexOf(close, start) < 0)
            kept.truncate(start);
    }
    for (const QString &name : {u"b"_s, u"a"_s}) {
        const QString closing = u"</%1>"_s.arg(name);
        if (kept.count(closing) < kept.count(u'<' + name))
            kept += closing;
    }
    return kept + u"…"_s;
}
