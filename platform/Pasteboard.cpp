#include "Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <algorithm>

namespace {

// As written in the list, never re-encoded; lines starting with "#" are comments.
QString firstListedLink(const QByteArray &uriList)
{
    for (const QByteArray &line : uriList.split('\n')) {
        const QByteArray link = line.trimmed();
        if (!link.isEmpty() && !link.startsWith('#'))
            return QString::fromUtf8(link);
    }
    return {};
}

// QMimeData::hasText() also holds for a bare list of links.
bool hasPlainText(const QMimeData *data)
{
    const QStringList formats = data->formats();
    return std::any_of(formats.cbegin(), formats.cend(),
                       [](const QString &format) { return format.startsWith(QLatin1String("text/plain")); });
}

} // namespace

Pasteboard &Pasteboard::general()
{
    static QPointer<Pasteboard> instance;
    if (!instance)
        instance = new Pasteboard(QCoreApplication::instance());
    return *instance;
}

Pasteboard::Pasteboard(QObject *parent) : QObject(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ++m_changeCount; });
}

QString Pasteboard::string() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    if (hasPlainText(data))
        return data->text();
    return firstListedLink(data->data(QStringLiteral("text/uri-list")));
}

QString Pasteboard::plainText() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && hasPlainText(data) ? data->text() : QString();
}

void Pasteboard::setString(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}
