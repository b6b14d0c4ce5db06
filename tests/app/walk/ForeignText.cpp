#include "ForeignText.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// Names and key names that stay Latin in the Chinese interface.
const QSet<QString> &latinNames()
{
    static const QSet<QString> names = {
        QStringLiteral("Kepsel"),  QStringLiteral("Telegram"),  QStringLiteral("Bot"),
        QStringLiteral("Token"),   QStringLiteral("iPhone"),    QStringLiteral("App"),
        QStringLiteral("HTTP"),    QStringLiteral("Ctrl"),      QStringLiteral("Shift"),
        QStringLiteral("Alt"),     QStringLiteral("Backspace"), QStringLiteral("Esc"),
        QStringLiteral("Del"),     QStringLiteral("Space"),     QStringLiteral("MB"),
        QStringLiteral("MPEG"),    QStringLiteral("JPEG"),      QStringLiteral("MP3"),
        QStringLiteral("English"), QStringLiteral("X"),         QStringLiteral("Instagram"),
        QStringLiteral("Threads"), QStringLiteral("Pinterest"), QStringLiteral("getMe"),
    };
    return names;
}

// Links, paths, handles, file names and key sequences: names, whatever the language.
QString withoutNamedThings(QString text)
{
    static const QRegularExpression named(QStringLiteral(
        R"([a-zA-Z][a-zA-Z0-9+.-]*://\S*|(?:^|\s)~?/\S*|@\S+|\S+\.(?:json|jpe?g|mp[34]|png|webp)\b|\*\.\w+)"));
    static const QRegularExpression singleKey(QStringLiteral(R"((?<=\+)[A-Z](?![A-Za-z]))"));
    text.remove(named);
    text.remove(singleKey);
    return text;
}

} // namespace

QString ForeignText::withoutNames(QString text) const
{
    for (const QString &name : m_names)
        if (!name.isEmpty())
            text.remove(name);
    return text;
}

QStringList ForeignText::inChinese(const QStringList &texts) const
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z0-9]*"));
    QStringList foreign;
    for (const QString &text : texts) {
        const QString rest = withoutNamedThings(withoutNames(text));
        for (auto match = word.globalMatch(rest); match.hasNext();) {
            if (!latinNames().contains(match.next().captured())) {
                foreign.append(text);
                break;
            }
        }
    }
    return foreign;
}

QStringList ForeignText::inEnglish(const QStringList &texts) const
{
    static const QRegularExpression chinese(QStringLiteral(
        "[\\x{3000}-\\x{303F}\\x{3400}-\\x{4DBF}\\x{4E00}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-"
        "\\x{FFEF}]"));
    QStringList foreign;
    for (const QString &text : texts)
        if (withoutNames(text).contains(chinese))
            foreign.append(text);
    return foreign;
}
