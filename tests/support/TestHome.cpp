#include "TestHome.h"

#include "Clock.h"
#include "HostTable.h"
#include "MediaSizes.h"
#include "UserDefaults.h"

#include <QDir>

TestHome::TestHome()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    qputenv("HOME", m_dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", configFolder().toUtf8());
    qputenv("XDG_DATA_HOME", dataFolder().toUtf8());
    qputenv("XDG_CACHE_HOME", (m_dir.path() + QStringLiteral("/cache")).toUtf8());
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    m_outerTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", (m_dir.path() + QStringLiteral("/tmp")).toUtf8());
    UserDefaults::reopenStandard();
    MediaSizes::setCachedReady(std::nullopt);
}

TestHome::~TestHome()
{
    if (m_outerTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", m_outerTemp);
    HostTable::clearOverrides();
    Clock::setSource({});
}

QString TestHome::dataFolder() const
{
    return m_dir.path() + QStringLiteral("/data");
}

QString TestHome::configFolder() const
{
    return m_dir.path() + QStringLiteral("/config");
}
