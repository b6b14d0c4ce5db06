#include "AppLanguage.h"

#include "UserDefaults.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTimer>
#include <QTranslator>
#include <functional>
#include <memory>

namespace {

const QString languagesKey = QStringLiteral("AppleLanguages");
// Marks the translators this class installed, so a later load replaces them.
const QString translatorName = QStringLiteral("AppLanguage");

void installTranslator(QCoreApplication &app, const std::function<bool(QTranslator &)> &load)
{
    auto translator = std::make_unique<QTranslator>(&app);
    translator->setObjectName(translatorName);
    if (load(*translator))
        QCoreApplication::installTranslator(translator.release());
}

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
    current().load(app);
}

QLocale AppLanguage::locale() const
{
    const QLocale system = QLocale::system();
    if (showsChinese())
        return system.language() == QLocale::Chinese && system.script() != QLocale::TraditionalChineseScript
                   ? system
                   : QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    return system.language() == QLocale::English ? system : QLocale(QLocale::English, QLocale::UnitedStates);
}

void AppLanguage::load(QCoreApplication &app) const
{
    for (QTranslator *earlier : app.findChildren<QTranslator *>(translatorName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(earlier);
        delete earlier;
    }
    const QLocale interface = locale();
    QLocale::setDefault(interface);
    installTranslator(app, [&interface](QTranslator &translator) {
        return translator.load(interface, QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    });
    if (!showsChinese())
        installTranslator(app, [](QTranslator &translator) {
            return translator.load(QStringLiteral(":/i18n/kepsel_en.qm"));
        });
}
