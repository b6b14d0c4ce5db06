#pragma once

#include <QLocale>
#include <QString>
#include <optional>

class QCoreApplication;

// The interface language the user chose, kept in the application's own
// settings. It takes effect when the application starts.
class AppLanguage {
public:
    enum Value { system, zh, en };

    AppLanguage(Value value) : m_value(value) {}
    static std::optional<AppLanguage> fromRawValue(const QString &raw);

    Value value() const { return m_value; }
    QString rawValue() const;
    bool operator==(const AppLanguage &other) const = default;

    // The stored override: its first language code beginning with "zh" or
    // "en"; anything else, or nothing stored, follows the system.
    static AppLanguage current();
    // Stores this choice; following the system removes the override.
    void apply() const;

    // Given to a relaunched instance: it waits for the instance lock of the
    // one it replaces instead of handing over to it.
    static const QString relaunchFlag;
    // Starts the program anew with the relaunch flag and quits this process
    // once it started. When it cannot start, this process goes on and the
    // reason is returned.
    static std::optional<QString> relaunch(const QString &program);

    // Loads the translations of the chosen language into the application.
    // Call before any window is made.
    static void install(QCoreApplication &app);
    // Makes this language the interface's: Qt's own texts (dialogs, standard
    // buttons) and, unless it is Chinese, our English translation; dates and
    // numbers follow it too. Replaces what an earlier call loaded.
    void load(QCoreApplication &app) const;

    // Whether the interface shows the Chinese source texts.
    bool showsChinese() const;

private:
    // The locale for dates and numbers: the system's when it speaks the
    // interface language, so its regional habits stay.
    QLocale locale() const;

    Value m_value;
};
