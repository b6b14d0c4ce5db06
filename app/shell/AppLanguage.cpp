#include "AppLanguage.h"

#include "UserDefaults.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProcess>
#include <QTimer>
#include <QTranslator>

namespace {

const QString languagesKey = QStringLiteral("AppleLanguages");

} // namespace

const QString AppLanguage::relaunchFlag = QStringLiteral("--relaunch");

std::optional<AppLanguage> AppLanguage::fromRawValue(const QString &raw)
{
    for (const Value value : {system, zh, en})
        if (AppLanguage(value).rawValue() == raw)
            return AppLanguage(value);
    return std::nullopt;
}

QString AppLanguage::rawValue() const
{
    switch (m_value) {
    case zh: return QStringLiteral("zh-Hans");
    case en: return QStringLiteral("en");
    case system: break;
    }
    return QStringLiteral("system");
}

AppLanguage AppLanguage::current()
{
    const auto languages = UserDefaults::standard().stringList(languagesKey);
    if (!languages || languages->isEmpty())
        return system;
    const QString &first = languages->first();
    if (first.startsWith(QLatin1String("zh")))
        return zh;
    if (first.startsWith(QLatin1String("en")))
        return en;
    return system;
}

void AppLanguage::apply() const
{
    if (m_value == system)
        UserDefaults::standard().remove(languagesKey);
    else
        UserDefaults::standard().setStringList(languagesKey, {rawValue()});
}

std::optional<QString> AppLanguage::relaunch(const QString &program)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({relaunchFlag});
    if (!process.startDetached())
        return process.errorString();
    // Queued, so the caller's work finishes before the event loop ends.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    return std::nullopt;
}

bool AppLanguage::showsChinese() const
{
    switch (m_value) {
    case zh: return true;
    case en: return false;
    case system: break;
    }
    const QStringList system = QLocale::system().uiLanguages();
    return system.isEmpty() || system.first().startsWith(QLatin1String("zh"));
}

void AppLanguage::install(QCoreApplication &app)
{
    if (current().showsChinese())
        return;
    auto *english = new QTranslator(&app);
    if (english->load(QStringLiteral(":/i18n/kepsel_en.qm")))
        QCoreApplication::installTranslator(english);
    else
        delete english;
}
