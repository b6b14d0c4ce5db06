#include "RequestBody.h"

#include "Text.h"

#include <QUuid>

namespace {

const QByteArray crlf = QByteArrayLiteral("\r\n");

bool staysAsIs(char32_t character)
{
    switch (QChar::category(character)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other: return true;
    default: return character == U'-' || character == U'.' || character == U'_' || character == U'~';
    }
}

QByteArray dispositionLine(const QString &name)
{
    return "Content-Disposition: form-data; name=\"" + RequestBody::headerSafe(name).toUtf8() + '"';
}

} // namespace

namespace RequestBody {

QByteArray percentEncoded(const QString &text)
{
    QByteArray encoded;
    for (const char32_t character : text.toUcs4()) {
        const QByteArray bytes = QString::fromUcs4(&character, 1).toUtf8();
        if (staysAsIs(character)) {
            encoded += bytes;
            continue;
        }
        for (const char byte : bytes)
            encoded += '%' + QByteArray::number(quint8(byte), 16).rightJustified(2, '0').toUpper();
    }
    return encoded;
}

QByteArray form(const TelegramSync::Fields &fields)
{
    QByteArrayList pairs;
    for (const auto &[key, value] : fields)
        pairs.append(percentEncoded(key) + '=' + percentEncoded(value));
    return pairs.join('&');
}

QString boundary()
{
    return QStringLiteral("Kepsel-") + Text::uuidText(QUuid::createUuid());
}

QByteArray multipartType(const QString &boundary)
{
    return "multipart/form-data; boundary=" + boundary.toUtf8();
}

QByteArray multipart(const TelegramSync::Fields &fields, const QList<TelegramSync::Part> &files,
                     const QString &boundary)
{
    const QByteArray separator = "--" + boundary.toUtf8() + crlf;
    qsizetype size = 256 * (fields.size() + files.size() + 1);
    for (const auto &file : files)
        size += file.data.size();
    QByteArray body;
    body.reserve(size);
    for (const auto &[key, value] : fields)
        body += separator + dispositionLine(key) + crlf + crlf + value.toUtf8() + crlf;
    for (const auto &file : files) {
        body += separator + dispositionLine(file.name) + "; filename=\"" +
                headerSafe(file.filename).toUtf8() + '"' + crlf + "Content-Type: " + file.mime.toUtf8() +
                crlf + crlf;
        body += file.data;
        body += crlf;
    }
    body += "--" + boundary.toUtf8() + "--" + crlf;
    return body;
}

QString headerSafe(const QString &name)
{
    QString safe = name;
    for (QChar &character : safe)
        if (character == u'"' || character == u'\\' || character == u'\r' || character == u'\n')
            character = u'_';
    return safe;
}

} // namespace RequestBody
