#include "BackupCoder.h"
#include "BackupError.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace Backup;

namespace {

const char *const postJSON = R"({
    "id": "0F8FAD5B-D9CB-469F-A165-70867728950E", "sourceURL": "https://weibo.com/1/2",
    "platform": "weibo", "title": "t", "content": "c", "note": "n", "authorName": "a",
    "authorAvatarURL": "", "createdAt": "2024-01-02T03:04:05Z", "updatedAt": "2024-01-02T03:04:05Z",
    "parseState": "parsed", "parseError": "", "isArchived": false, "telegramMessageIDs": [9007199254740993],
    "media": [{"id": "7C9E6679-7425-40DE-944B-E07FC1F90AE7", "kind": "image", "order": 0,
               "remoteURL": "https://img/1.jpg", "videoRemoteURL": "", "width": 1080, "height": 1440.5,
               "duration": 0}],
    "tagIDs": [], "boardIDs": []})";

// A minimal document of the given version holding one post with `post`
// spliced in place of its record.
QByteArray document(const QString &post = QString::fromUtf8(postJSON), int version = 1,
                    const QString &extra = {})
{
    return QStringLiteral(R"({"version": %1, "exportedAt": "2024-05-06T07:08:09Z", "posts": [%2],
                              "tags": [], "boards": []%3})")
        .arg(version)
        .arg(post, extra)
        .toUtf8();
}

QByteArray withPostMember(const char *from, const char *to)
{
    QString post = QString::fromUtf8(postJSON);
    EXPECT_TRUE(post.contains(QString::fromUtf8(from))) << from;
    return document(post.replace(QString::fromUtf8(from), QString::fromUtf8(to)));
}

BackupError::Kind failureOf(const QByteArray &bytes)
{
    try {
        decode(bytes);
    } catch (const BackupError &error) {
        return error.kind();
    }
    ADD_FAILURE() << "decoded: " << bytes.constData();
    return BackupError::Kind::unwritable;
}

File sampleFile()
{
    File file = decode(document());
    file.settings = QMap<QString, SettingValue>{{"appearance", QString("dark")}, {"downloadVideos", true}};
    file.authorGroups =
        QList<AuthorGroupRecord>{{QUuid::createUuid(), "g", "weibo\ta", file.exportedAt, true, {}}};
    file.boards.append({QUuid::createUuid(), "b", "s", file.exportedAt, std::nullopt});
    file.syncStamps = DateMap{{"0F8FAD5B-D9CB-469F-A165-70867728950E", file.exportedAt}};
    return file;
}

TEST(BackupCoderTest, DocumentsRoundTripByteForByteAndLeaveAbsentOptionalsOut)
{
    const File file = sampleFile();
    const QByteArray bytes = encode(file);
    EXPECT_EQ(decode(bytes), file);
    EXPECT_EQ(encode(decode(bytes)), bytes);

    EXPECT_TRUE(bytes.contains("\"https://weibo.com/1/2\"")) << "slashes are not escaped";
    EXPECT_TRUE(bytes.contains("9007199254740993")) << "integers keep every digit";
    EXPECT_TRUE(bytes.contains("\"starred\": true"));
    for (const char *absent :
         {"publishedAt", "telegramSyncedAt", "isPrivate", "authors", "starredAt", "tombstones", "null"})
        EXPECT_FALSE(bytes.contains(absent)) << absent;
    EXPECT_TRUE(bytes.contains("\"syncStamps\""));
}

// The text without the white space between tokens.
QByteArray compact(const QByteArray &json)
{
    QByteArray tight;
    bool inString = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString && c == '\\') {
            tight += json.mid(i++, 2);
            continue;
        }
        if (c == '"')
            inString = !inString;
        if (inString || !QByteArray(" \n").contains(c))
            tight += c;
    }
    return tight;
}

TEST(BackupCoderTest, KeysAreWrittenInSortedOrderAndTextsEscaped)
{
    File file = sampleFile();
    PostRecord &post = file.posts[0];
    post.publishedAt = post.telegramSyncedAt = file.exportedAt;
    post.isPrivate = true;
    post.tagIDs = post.boardIDs = {post.id};
    post.title = "引号\" 反斜杠\\ 换行\n 制表\t 😀";
    file.boards[0].authors = "weibo\ta";
    (*file.authorGroups)[0].starredAt = file.exportedAt;
    file.tombstones = DateMap{{"A", file.exportedAt}, {"B", file.exportedAt}};
    const QByteArray bytes = encode(file);
    EXPECT_EQ(compact(bytes), QJsonDocument::fromJson(bytes).toJson(QJsonDocument::Compact));
    EXPECT_EQ(decode(bytes), file);
}

TEST(BackupCoderTest, LoneSurrogatesReadAsReplacementCharactersSoRewritingIsStable)
{
    const File file = decode(document(QString::fromUtf8(postJSON), 1, R"(, "settings": {
        "\ud800x": "\udc00", "\ud83d\ude00": "\\ud800", "\uE000": true, "a": "\ud800\ud800"})"));
    const QMap<QString, SettingValue> expected{{u"\uFFFDx"_qs, u"\uFFFD"_qs},
                                               {u"😀"_qs, u"\\ud800"_qs},
                                               {u"\uE000"_qs, true},
                                               {u"a"_qs, u"\uFFFD\uFFFD"_qs}};
    EXPECT_EQ(file.settings, expected);

    const QByteArray bytes = encode(file);
    EXPECT_EQ(decode(bytes), file);
    EXPECT_EQ(encode(decode(bytes)), bytes);
    // Keys follow their UTF-8 bytes: U+E000 before U+FFFD before an astral character.
    const qsizetype private_ = bytes.indexOf("\"\xEE\x80\x80\""), replaced = bytes.indexOf("\"\xEF\xBF\xBDx\""),
                    astral = bytes.indexOf("\"\xF0\x9F\x98\x80\"");
    EXPECT_TRUE(bytes.indexOf("\"a\":") < private_ && private_ < replaced && replaced < astral) << bytes.constData();
}

TEST(BackupCoderTest, OptionalMembersMayBeMissingOrNullButRequiredOnesMayNot)
{
    const File file = decode(document());
    EXPECT_FALSE(file.settings || file.authorGroups || file.syncStamps || file.tombstones);
    EXPECT_FALSE(file.posts[0].isPrivate || file.posts[0].publishedAt);
    EXPECT_FALSE(
        decode(withPostMember(R"("note": "n")", R"("note": "n", "isPrivate": null)")).posts[0].isPrivate);
    const File groups = decode(document(QString::fromUtf8(postJSON), 1, R"(, "authorGroups": [{
        "id": "7C9E6679-7425-40DE-944B-E07FC1F90AE8", "name": "g", "members": "", "createdAt": "2024-01-01T00:00:00Z"}])"));
    EXPECT_EQ(groups.authorGroups->at(0).starred, std::nullopt);

    for (const char *required : {R"("isArchived": false, )", R"("parseState": "parsed", )",
                                 R"("telegramMessageIDs": [9007199254740993],)"})
        EXPECT_EQ(failureOf(withPostMember(required, "")), BackupError::Kind::unreadable) << required;
    EXPECT_EQ(failureOf(withPostMember(R"("title": "t")", R"("title": null)")),
              BackupError::Kind::unreadable);
}

TEST(BackupCoderTest, DatesAndIdsAreReadStrictlyAndWrittenInOneForm)
{
    for (const char *date : {"2024-01-02T03:04:05.123Z", "2024-01-02T03:04:05+08:00", "2024-01-02 03:04:05Z",
                             "2024-02-30T03:04:05Z", "0000-01-01T00:00:00Z", "2024-01-02T03:04:05z"})
        EXPECT_EQ(failureOf(withPostMember("2024-01-02T03:04:05Z", date)), BackupError::Kind::unreadable)
            << date;
    for (const char *id : {"{0F8FAD5B-D9CB-469F-A165-70867728950E}", "0F8FAD5BD9CB469FA16570867728950E",
                           "0F8FAD5B-D9CB-469F-A165-70867728950G", "post-1"})
        EXPECT_EQ(failureOf(withPostMember("0F8FAD5B-D9CB-469F-A165-70867728950E", id)),
                  BackupError::Kind::unreadable)
            << id;

    const File lower = decode(
        withPostMember("0F8FAD5B-D9CB-469F-A165-70867728950E", "0f8fad5b-d9cb-469f-a165-70867728950e"));
    EXPECT_EQ(lower.posts[0].id, QUuid("0F8FAD5B-D9CB-469F-A165-70867728950E"));
    EXPECT_TRUE(encode(lower).contains("0F8FAD5B-D9CB-469F-A165-70867728950E"));

    File distant = lower;
    distant.exportedAt = QDateTime::fromMSecsSinceEpoch(1700000000999, Qt::UTC);
    distant.posts[0].createdAt = QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    const QByteArray bytes = encode(distant);
    EXPECT_TRUE(bytes.contains("\"2023-11-14T22:13:20Z\"")) << "fractions are dropped";
    EXPECT_TRUE(bytes.contains("\"0001-01-01T00:00:00Z\""));
    EXPECT_EQ(decode(bytes).posts[0].createdAt, distant.posts[0].createdAt);
}

TEST(BackupCoderTest, HostileDocumentsAreRefusedAsUnreadable)
{
    const QString deep = QString("[").repeated(5000) + QString("]").repeated(5000);
    const QString manyTags = "[" +
                             QString(R"("0F8FAD5B-D9CB-469F-A165-70867728950E",)").repeated(maxListInRecord) +
                             R"("0F8FAD5B-D9CB-469F-A165-70867728950E"])";
    const QByteArray cases[] = {
        "",
        "not json",
        document().chopped(40),
        "[1, 2]",
        document(QString::fromUtf8(postJSON), 1, ", \"deep\": " + deep),
        withPostMember(R"("title": "t")", R"("title": "t", "title": "u")"),
        withPostMember(R"("title": "t")", R"("title": "t", "\u0074itle": "u")"),
        withPostMember(R"("order": 0)", R"("order": 0.5)"),
        withPostMember(R"("order": 0)", R"("order": 4294967296)"),
        withPostMember(R"("isArchived": false)", R"("isArchived": "false")"),
        withPostMember(R"("tagIDs": [])", QString(R"("tagIDs": %1)").arg(manyTags).toUtf8().constData()),
        document(QString::fromUtf8(postJSON), 1, R"(, "syncStamps": {"X": "yesterday"})"),
        document(QString::fromUtf8(postJSON), 1, R"(, "settings": {"a": 1})"),
    };
    for (const QByteArray &bytes : cases)
        EXPECT_EQ(failureOf(bytes), BackupError::Kind::unreadable) << bytes.left(80).constData();
}

TEST(BackupCoderTest, TheVersionIsReadFirstAndNewerDocumentsAreRefusedByImporters)
{
    const File newer = decode(document(QString::fromUtf8(postJSON), 2));
    EXPECT_THROW(requireKnownVersion(newer), BackupError);
    EXPECT_NO_THROW(requireKnownVersion(decode(document(QString::fromUtf8(postJSON), 0))));

    // A newer document whose records changed shape is the newer format, not damage.
    EXPECT_EQ(failureOf(document(R"({"id": 7})", 2)), BackupError::Kind::newerFormat);
    EXPECT_EQ(failureOf(document(R"({"id": 7})", 1)), BackupError::Kind::unreadable);
}

TEST(BackupCoderTest, NonFiniteNumbersAreNeitherReadNorWritten)
{
    EXPECT_EQ(failureOf(withPostMember(R"("width": 1080)", R"("width": 1e400)")),
              BackupError::Kind::unreadable);
    EXPECT_EQ(failureOf(withPostMember(R"("duration": 0)", R"("duration": -1e309)")),
              BackupError::Kind::unreadable);
    File file = decode(document());
    file.posts[0].media[0].duration = std::numeric_limits<double>::infinity();
    EXPECT_THROW(encode(file), BackupError);
}

TEST(BackupCoderTest, TheFingerprintIgnoresTheExportTimeOnly)
{
    File file = sampleFile();
    const QString original = fingerprint(encode(file));
    file.exportedAt = file.exportedAt.addDays(3);
    EXPECT_EQ(fingerprint(encode(file)), original);
    EXPECT_EQ(fingerprint(encode(file).replace("    ", "  ")), original);
    file.posts[0].title = "changed";
    EXPECT_NE(fingerprint(encode(file)), original);
    file = sampleFile();
    file.tombstones = DateMap{};
    EXPECT_NE(fingerprint(encode(file)), original) << "an empty map is not an absent one";

    for (const QByteArray bytes : {QByteArray(), QByteArray("arbitrary text")})
        EXPECT_EQ(fingerprint(bytes),
                  QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
}

} // namespace
