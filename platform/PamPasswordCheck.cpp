#include "PamPasswordCheck.h"

#include <QCoreApplication>
#include <QCoro/QCoroFuture>
#include <QtConcurrent>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <security/pam_appl.h>
#include <unistd.h>

const char *const PamPasswordCheck::serviceName = "kepsel";

namespace {

enum class Outcome { granted, denied, unavailable };

struct Credentials {
    const char *user;
    const char *password;
};

struct Answer {
    Outcome outcome;
    QString detail;
};

// Answers every hidden prompt with the password and every visible one with
// the user name; messages are not shown.
int converse(int count, const pam_message **messages, pam_response **responses, void *appData)
{
    const auto *credentials = static_cast<const Credentials *>(appData);
    auto *replies = static_cast<pam_response *>(std::calloc(count, sizeof(pam_response)));
    if (!replies)
        return PAM_BUF_ERR;
    for (int i = 0; i < count; ++i) {
        const int style = messages[i]->msg_style;
        if (style == PAM_PROMPT_ECHO_OFF)
            replies[i].resp = strdup(credentials->password);
        else if (style == PAM_PROMPT_ECHO_ON)
            replies[i].resp = strdup(credentials->user);
    }
    *responses = replies;
    return PAM_SUCCESS;
}

QByteArray currentUserName()
{
    const passwd *entry = getpwuid(getuid());
    return entry ? QByteArray(entry->pw_name) : QByteArray();
}

Answer authenticate(const std::string &password)
{
    const QByteArray user = currentUserName();
    if (user.isEmpty())
        return {Outcome::unavailable, QStringLiteral("unknown user")};
    Credentials credentials{user.constData(), password.c_str()};
    const pam_conv conversation{converse, &credentials};
    pam_handle_t *handle = nullptr;
    int status = pam_start(PamPasswordCheck::serviceName, user.constData(), &conversation, &handle);
    if (status == PAM_SUCCESS)
        status = pam_authenticate(handle, PAM_SILENT);
    const QString detail = QString::fromLocal8Bit(pam_strerror(handle, status));
    if (handle)
        pam_end(handle, status);
    switch (status) {
    case PAM_SUCCESS: return {Outcome::granted, {}};
    case PAM_AUTH_ERR:
    case PAM_USER_UNKNOWN:
    case PAM_MAXTRIES:
    case PAM_CRED_INSUFFICIENT: return {Outcome::denied, {}};
    default: return {Outcome::unavailable, detail};
    }
}

Answer authenticateAndWipe(std::string password)
{
    const Answer answer = authenticate(password);
    explicit_bzero(password.data(), password.size());
    return answer;
}

// Outside the coroutine: GCC 12 destroys temporaries of a co_await expression twice.
QFuture<Answer> startAuthentication(const QString &password)
{
    return QtConcurrent::run(authenticateAndWipe, password.toStdString());
}

} // namespace

QCoro::Task<bool> PamPasswordCheck::verify(QString password)
{
    const QFuture<Answer> future = startAuthentication(password);
    const Answer answer = co_await future;
    if (answer.outcome == Outcome::unavailable)
        throw CheckError(
            QCoreApplication::translate("PamPasswordCheck", "无法验证密码：%1").arg(answer.detail));
    co_return answer.outcome == Outcome::granted;
}
