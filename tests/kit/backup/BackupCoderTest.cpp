#include "BackupCoder.h"
#include "BackupError.h"

#include <QTimeZone>
#include <functional>
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
    for (const char *absent : {"publishedAt", "tombstones", "null"})
        EXPECT_FALSE(bytes.contains(absent)) << absent;
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
    EXPECT_EQ(encode(decode(bytes)), bytes);
}

TEST(BackupCoderTest, OptionalMembersMayBeMissingOrNullButRequiredOnesMayNot)
{
    const File file = decode(document());
    EXPECT_FALSE(file.settings || file.authorGroups || file.syncStamps || file.tombstones);
    EXPECT_FALSE(
        decode(withPostMember(R"("note": "n")", R"("note": "n", "isPrivate": null)")).posts[0].isPrivate);

    EXPECT_EQ(failureOf(withPostMember(R"("isArchived": false, )", "")), BackupError::Kind::unreadable);
    EXPECT_EQ(failureOf(withPostMember(R"("title": "t")", R"("title": null)")),
              BackupError::Kind::unreadable);
}

TEST(BackupCoderTest, DatesAndIdsAreReadStrictlyAndWrittenInOneForm)
{
    for (const char *date : {"2024-01-02T03:04:05+08:00", "2024-02-30T03:04:05Z", "0000-01-01T00:00:00Z"})
        EXPECT_EQ(failureOf(withPostMember("2024-01-02T03:04:05Z", date)), BackupError::Kind::unreadable)
            << date;
    EXPECT_EQ(failureOf(withPostMember("0F8FAD5B-D9CB-469F-A165-70867728950E", "post-1")),
              BackupError::Kind::unreadable);

    const File lower = decode(
        withPostMember("0F8FAD5B-D9CB-469F-A165-70867728950E", "0f8fad5b-d9cb-469f-a165-70867728950e"));
    EXPECT_TRUE(encode(lower).contains("0F8FAD5B-D9CB-469F-A165-70867728950E"));
    const File stamped = decode(
        document(QString::fromUtf8(postJSON), 1,
                 R"(, "syncStamps": {"0f8fad5b-d9cb-469f-a165-70867728950e": "2024-01-02T03:04:05Z"})"));
    EXPECT_TRUE(stamped.syncStamps->contains("0F8FAD5B-D9CB-469F-A165-70867728950E"))
        << "a stamp counts in any case";

    File distant = lower;
    distant.exportedAt = QDateTime::fromMSecsSinceEpoch(1700000000999, Qt::UTC);
    distant.posts[0].createdAt = QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    const QByteArray bytes = encode(distant);
    EXPECT_TRUE(bytes.contains("\"2023-11-14T22:13:20Z\"")) << "fractions are dropped";
    EXPECT_EQ(decode(bytes).posts[0].createdAt, distant.posts[0].createdAt);
}

TEST(BackupCoderTest, StampsOfOneIdInTwoLetterCasesKeepTheNewer)
{
    // Upper-case keys sort first, so each order of old and new is tried.
    const File file = decode(document(QString::fromUtf8(postJSON), 1, R"(, "tombstones": {
        "0F8FAD5B-D9CB-469F-A165-70867728950E": "2024-01-01T00:00:00Z",
        "0f8fad5b-d9cb-469f-a165-70867728950e": "2024-06-01T00:00:00Z",
        "7C9E6679-7425-40DE-944B-E07FC1F90AE7": "2024-06-01T00:00:00Z",
        "7c9e6679-7425-40de-944b-e07fc1f90ae7": "2024-01-01T00:00:00Z"})"));
    const QDateTime newer(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(file.tombstones, (DateMap{{"0F8FAD5B-D9CB-469F-A165-70867728950E", newer},
                                        {"7C9E6679-7425-40DE-944B-E07FC1F90AE7", newer}}));
}

TEST(BackupCoderTest, HostileDocumentsAreRefusedAsUnreadable)
{
    const QString deep = QString("[").repeated(5000) + QString("]").repeated(5000);
    const QString manyTags = "[" +
                             QString(R"("0F8FAD5B-D9CB-469F-A165-70867728950E",)").repeated(maxListEntries) +
                             R"("0F8FAD5B-D9CB-469F-A165-70867728950E"])";
    const QByteArray cases[] = {
        document().chopped(40),
        document(QString::fromUtf8(postJSON), 1, ", \"deep\": " + deep),
        withPostMember(R"("title": "t")", R"("title": "t", "\u0074itle": "u")"),
        document(QString::fromUtf8(postJSON), 1,
                 R"(, "syncStamps": {"0F8FAD5B-D9CB-469F-A165-70867728950E": "2024-01-02T03:04:05Z",
                                     "0F8FAD5B-D9CB-469F-A165-70867728950E": "2024-01-02T03:04:06Z"})"),
        withPostMember(R"("order": 0)", R"("order": 9223372036854775808)"),
        withPostMember(R"("tagIDs": [])", QString(R"("tagIDs": %1)").arg(manyTags).toUtf8().constData()),
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
    EXPECT_EQ(failureOf(withPostMember(R"("duration": 0)", R"("duration": -1e309)")),
              BackupError::Kind::unreadable);
    File file = decode(document());
    file.posts[0].media[0].duration = std::numeric_limits<double>::infinity();
    EXPECT_THROW(encode(file), BackupError);
}

// Stored before such dates were refused at parse time; the user must learn
// which post to mend.
TEST(BackupCoderTest, APostThatCannotBeWrittenIsNamedByItsLinkOrElseItsTitle)
{
    const auto messageOf = [](const File &file) {
        try {
            encode(file);
        } catch (const BackupError &error) {
            EXPECT_TRUE(error.detail().contains("0F8FAD5B-D9CB-469F-A165-70867728950E")) << error.what();
            return error.message();
        }
        return QStringLiteral("written");
    };
    File file = decode(document());
    file.posts[0].publishedAt = QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(messageOf(file),
              QStringLiteral("收藏“https://weibo.com/1/2”里有备份文件存不下的内容，无法写入备份"));
    file.posts[0].sourceURL.clear();
    file.posts[0].media[0].width = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(messageOf(file), QStringLiteral("收藏“t”里有备份文件存不下的内容，无法写入备份"));
}

TEST(BackupCoderTest, TheFingerprintIgnoresTheExportTimeOnly)
{
    File file = sampleFile();
    const QString original = fingerprint(encode(file));
    file.exportedAt = file.exportedAt.addDays(3);
    EXPECT_EQ(fingerprint(encode(file)), original);
    file.posts[0].title = "changed";
    EXPECT_NE(fingerprint(encode(file)), original);
    file = sampleFile();
    file.tombstones = DateMap{};
    EXPECT_NE(fingerprint(encode(file)), original) << "an empty map is not an absent one";
}

TEST(BackupCoderTest, DatesAreWrittenInTheGregorianCalendarOverTheWholeRange)
{
    const auto written = [](const QDateTime &date) {
        File file = decode(document());
        file.exportedAt = date;
        const QByteArray bytes = encode(file);
        const qsizetype at = bytes.indexOf("\"exportedAt\": \"") + 15;
        return QString::fromLatin1(bytes.mid(at, 20));
    };
    const auto expected = [](const QDateTime &date) {
        return QDateTime::fromSecsSinceEpoch(date.toSecsSinceEpoch(), Qt::UTC)
            .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss'Z'"));
    };
    const QDateTime first(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime last(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC);
    // A step prime to days, hours and leap cycles lands on every kind of day.
    for (QDateTime date = first; date <= last; date = date.addSecs(397 * 86400 + 3671))
        ASSERT_EQ(written(date), expected(date)) << date.toMSecsSinceEpoch();
    for (const QDateTime &date :
         {first, last, QDateTime(QDate(2000, 2, 29), QTime(12, 0), Qt::UTC),
          QDateTime(QDate(1900, 3, 1), QTime(0, 0), Qt::UTC), QDateTime::fromMSecsSinceEpoch(-1, Qt::UTC),
          QDateTime::fromMSecsSinceEpoch(-86400001, Qt::UTC),
          QDateTime(QDate(2024, 7, 1), QTime(1, 2, 3), QTimeZone(8 * 3600))})
        EXPECT_EQ(written(date), expected(date)) << date.toString(Qt::ISODateWithMs).toStdString();
    for (const QDateTime &date : {first.addSecs(-1), last.addSecs(1), QDateTime()})
        EXPECT_THROW(written(date), BackupError) << date.toString(Qt::ISODate).toStdString();
}

TEST(BackupCoderTest, SameEncodingTellsEqualDocumentsWithoutEncodingThem)
{
    const File original = sampleFile();
    const auto expectSame = [&](const std::function<void(File &)> &edit, const char *what) {
        File edited = original;
        edit(edited);
        const bool same = encode(original) == encode(edited);
        EXPECT_EQ(sameEncoding(original, edited), same) << what;
        EXPECT_EQ(sameEncoding(edited, original), same) << what;
        return same;
    };
    EXPECT_TRUE(expectSame([](File &) {}, "untouched"));
    EXPECT_TRUE(expectSame([](File &f) { f.posts[0].createdAt = f.posts[0].createdAt.addMSecs(999); },
                           "a fraction of a second"));
    EXPECT_TRUE(expectSame([](File &f) { f.posts[0].media[0].duration = -0.0; }, "negative zero"));
    EXPECT_TRUE(expectSame(
        [](File &f) {
            (*f.syncStamps).begin()->setMSecsSinceEpoch((*f.syncStamps).begin()->toMSecsSinceEpoch() + 500);
        },
        "a stamp's fraction of a second"));
    EXPECT_FALSE(expectSame([](File &f) { f.posts[0].note = "n2"; }, "a post's note"));
    EXPECT_FALSE(expectSame([](File &f) { f.posts.append(f.posts[0]); }, "one post more"));
    EXPECT_FALSE(expectSame([](File &f) { f.boards[0].authors = QString(); }, "an empty optional"));
    EXPECT_FALSE(expectSame([](File &f) { (*f.authorGroups)[0].members += "x"; }, "a group"));
    EXPECT_FALSE(expectSame([](File &f) { f.authorGroups.reset(); }, "no groups at all"));
    EXPECT_FALSE(expectSame([](File &f) { f.tombstones = DateMap{}; }, "an empty map"));
    EXPECT_FALSE(expectSame([](File &f) { f.syncStamps->insert("X", f.exportedAt); }, "one stamp more"));
    EXPECT_FALSE(expectSame([](File &f) { f.settings->insert("watermark", true); }, "a setting"));
    EXPECT_FALSE(expectSame([](File &f) { f.exportedAt = f.exportedAt.addSecs(1); }, "the export time"));
    EXPECT_FALSE(expectSame([](File &f) { f.version = 2; }, "the version"));
}

QString unreadableDetail(const QByteArray &bytes)
{
    try {
        decode(bytes);
    } catch (const BackupError &error) {
        return error.kind() == BackupError::Kind::unreadable ? error.detail() : QString();
    }
    return QStringLiteral("decoded");
}

TEST(BackupCoderTest, IntegersAreExactOverTheWhole64BitRange)
{
    const char *const extremes = "[9223372036854775807, -9223372036854775808]";
    QString post = QString::fromUtf8(postJSON)
                       .replace(QStringLiteral("[9007199254740993]"), QLatin1String(extremes))
                       .replace(QStringLiteral(R"("order": 0)"), QStringLiteral(R"("order": 4294967296)"));
    const File file = decode(document(post));
    EXPECT_EQ(file.posts[0].telegramMessageIDs,
              QList<qint64>({std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()}));
    EXPECT_EQ(file.posts[0].media[0].order, 4294967296);
    const QByteArray bytes = encode(file);
    EXPECT_TRUE(bytes.contains("-9223372036854775808") && bytes.contains("4294967296")) << bytes.constData();

    QByteArray newest = document();
    newest.replace("\"version\": 1", "\"version\": 9223372036854775807");
    EXPECT_THROW(requireKnownVersion(decode(newest)), BackupError);

    for (const char *beyond : {R"("order": -9223372036854775809)", R"("order": 9223372036854775808)"})
        EXPECT_TRUE(unreadableDetail(withPostMember(R"("order": 0)", beyond))
                        .startsWith("integer beyond 64 bits at offset"))
            << beyond;
    EXPECT_EQ(unreadableDetail(withPostMember(R"("order": 0)", R"("order": 1.5)")).toStdString(),
              "posts[0].media[0].order: not a 64-bit integer");
}

TEST(BackupCoderTest, TextThatIsNotJSONIsRefusedNamingThePlace)
{
    const std::pair<const char *, const char *> faults[] = {
        {R"("title": "t")", "\"title\": \"a\tb\""}, {R"("title": "t")", "\"title\": \"a\nb\""},
        {R"("title": "t")", R"("title": "\x41")"},  {R"("title": "t")", R"("title": "\U0001F600")"},
        {R"("title": "t")", R"("title": "\u12")"},  {R"("width": 1080)", R"("width": .5)"},
        {R"("width": 1080)", R"("width": 1080.)"},  {R"("width": 1080)", R"("width": 01080)"},
        {R"("width": 1080)", R"("width": 1e)"},
    };
    for (const auto &[from, to] : faults) {
        const QString detail = unreadableDetail(withPostMember(from, to));
        EXPECT_TRUE(detail.contains(QStringLiteral("at offset"))) << to << ": " << qPrintable(detail);
    }
    QByteArray withNul = withPostMember(R"("title": "t")", R"("title": "aXb")");
    withNul[withNul.indexOf("aXb") + 1] = '\0';
    EXPECT_TRUE(unreadableDetail(withNul).startsWith(QStringLiteral("raw control character")));

    const File sound =
        decode(withPostMember(R"("title": "t")", R"("title": "\/\"\\\b\f\n\r\t\u00e9 -0.5e+3")"));
    EXPECT_EQ(sound.posts[0].title, QStringLiteral("/\"\\\b\f\n\r\t\u00e9 -0.5e+3"));
}

TEST(BackupCoderTest, ListsAsLongAsARealLibraryHoldsAreRead)
{
    const QString id = QStringLiteral(R"("0F8FAD5B-D9CB-469F-A165-70867728950E")");
    const QString tags = QStringLiteral("[%1%2]").arg(QString(id + QLatin1Char(',')).repeated(20000), id);
    const File file =
        decode(withPostMember(R"("tagIDs": [])", qPrintable(QStringLiteral(R"("tagIDs": )") + tags)));
    EXPECT_EQ(file.posts[0].tagIDs.size(), 20001);
}

} // namespace
